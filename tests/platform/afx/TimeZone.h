// Runs a test in a fixed local time zone (Japan: nine hours ahead of UTC, no summer time).
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <ctime>
#include <string>

#include "Clock.h"

class JapanTime : public testing::Test {
 protected:
  void SetUp() override {
    const char* old = getenv("TZ");
    hadZone_ = old != nullptr;
    if (hadZone_) oldZone_ = old;
    setenv("TZ", "JST-9", 1);
    tzset();
  }
  void TearDown() override {
    if (hadZone_)
      setenv("TZ", oldZone_.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
    plat::clock::PinWall(std::nullopt);
  }

 private:
  bool hadZone_ = false;
  std::string oldZone_;
};
