#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "KernelObject.h"
#include "TestEnv.h"
#include "windows.h"

namespace {

// A device whose reads stay pending until the test completes them, the way a board
// transfer finishes some time after it was started.
class SlowDevice : public plat::KernelObject {
 public:
  BOOL Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) override {
    if (!overlapped) {
      std::memset(buffer, 'S', size);
      *done = size;
      return TRUE;
    }
    std::lock_guard lock(mutex_);
    pending_ = overlapped;
    buffer_ = static_cast<char*>(buffer);
    size_ = size;
    SetLastError(ERROR_IO_PENDING);
    return FALSE;
  }
  BOOL IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned,
                 OVERLAPPED*) override {
    lastCode = code;
    if (outSize < inSize) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    std::memcpy(out, in, inSize);
    *returned = inSize;
    return TRUE;
  }
  BOOL CancelIo() override {
    Finish(ERROR_OPERATION_ABORTED, 0);
    return TRUE;
  }
  void Finish(DWORD error, char fill) {
    OVERLAPPED* ov;
    {
      std::lock_guard lock(mutex_);
      ov = pending_;
      pending_ = nullptr;
      if (!ov) return;
      if (!error) std::memset(buffer_, fill, size_);
    }
    {
      std::lock_guard lock(plat::KernelMutex());
      ov->InternalHigh = error ? 0 : size_;
      ov->Internal = error;
    }
    plat::NotifyWaiters();
    if (ov->hEvent) SetEvent(ov->hEvent);
  }
  DWORD lastCode = 0;

 private:
  std::mutex mutex_;
  OVERLAPPED* pending_ = nullptr;
  char* buffer_ = nullptr;
  DWORD size_ = 0;
};

class DeviceIo : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    plat::RegisterDevice("SLOWDEV*", [](std::string_view name, DWORD, DWORD flags, DWORD* error)
                                         -> std::shared_ptr<plat::KernelObject> {
      if (name != "SlowDev1") {
        *error = ERROR_FILE_NOT_FOUND;
        return nullptr;
      }
      EXPECT_TRUE(flags & FILE_FLAG_OVERLAPPED);
      device() = std::make_shared<SlowDevice>();
      return device();
    });
  }
  static std::shared_ptr<SlowDevice>& device() {
    static std::shared_ptr<SlowDevice> d;
    return d;
  }
  HANDLE Open() {
    return CreateFileA("\\\\.\\SlowDev1", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  }
};

TEST_F(DeviceIo, OverlappedReadCompletesLater) {
  HANDLE h = Open();
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  char buf[8] = {};
  OVERLAPPED ov = {};
  ov.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);  // signalled: starting must reset it
  EXPECT_FALSE(ReadFile(h, buf, sizeof buf, nullptr, &ov));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_IO_PENDING));
  EXPECT_FALSE(HasOverlappedIoCompleted(&ov));
  EXPECT_EQ(WaitForSingleObject(ov.hEvent, 0), DWORD(WAIT_TIMEOUT));
  DWORD n = 99;
  EXPECT_FALSE(GetOverlappedResult(h, &ov, &n, FALSE));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_IO_INCOMPLETE));

  std::thread board([&] { device()->Finish(0, 'x'); });
  EXPECT_TRUE(GetOverlappedResult(h, &ov, &n, TRUE));  // waits for the other thread
  board.join();
  EXPECT_EQ(n, 8u);
  EXPECT_EQ(std::string(buf, 8), "xxxxxxxx");
  EXPECT_EQ(WaitForSingleObject(ov.hEvent, 0), DWORD(WAIT_OBJECT_0));
  CloseHandle(ov.hEvent);
  CloseHandle(h);
}

TEST_F(DeviceIo, CancelIoAbortsThePendingRead) {
  HANDLE h = Open();
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  char buf[4];
  OVERLAPPED ov = {};
  EXPECT_FALSE(ReadFile(h, buf, sizeof buf, nullptr, &ov));
  ASSERT_TRUE(CancelIo(h));
  DWORD n = 99;
  EXPECT_FALSE(GetOverlappedResult(h, &ov, &n, TRUE));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_OPERATION_ABORTED));
  EXPECT_EQ(n, 0u);
  CloseHandle(h);
}

TEST_F(DeviceIo, IoControlAndPlainReadsDispatchToTheDevice) {
  HANDLE h = Open();
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const DWORD code = CTL_CODE(0x9C40, 0x909, METHOD_BUFFERED, FILE_ANY_ACCESS);
  DWORD in[2] = {7, 9}, out[2] = {}, got = 0;
  ASSERT_TRUE(DeviceIoControl(h, code, in, sizeof in, out, sizeof out, &got, nullptr));
  EXPECT_EQ(device()->lastCode, code);
  EXPECT_EQ(got, 8u);
  EXPECT_EQ(out[1], 9u);
  EXPECT_FALSE(DeviceIoControl(h, code, in, sizeof in, out, 4, &got, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  // A request that answers at once still leaves its OVERLAPPED record finished.
  OVERLAPPED ov = {};
  ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(DeviceIoControl(h, code, in, sizeof in, out, sizeof out, nullptr, &ov));
  EXPECT_TRUE(HasOverlappedIoCompleted(&ov));
  EXPECT_EQ(WaitForSingleObject(ov.hEvent, 0), DWORD(WAIT_OBJECT_0));  // set although nothing waited
  CloseHandle(ov.hEvent);
  ov.hEvent = nullptr;
  EXPECT_TRUE(GetOverlappedResult(h, &ov, &got, FALSE));
  EXPECT_EQ(got, 8u);
  char buf[3];
  ASSERT_TRUE(ReadFile(h, buf, 3, &got, nullptr));
  EXPECT_EQ(std::string(buf, 3), "SSS");
  EXPECT_FALSE(WriteFile(h, buf, 3, &got, nullptr));  // the device does not take writes
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FUNCTION));
  CloseHandle(h);

  EXPECT_EQ(CreateFileA("\\\\.\\SlowDev2", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(CreateFileA("\\\\.\\NoSuchDevice", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
}

TEST_F(DeviceIo, OverlappedFileReadsUseTheGivenOffset) {
  std::ofstream(testenv::DriveC() + "/ov.bin") << "0123456789";
  HANDLE h = CreateFileA("C:\\ov.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  char buf[4] = {};
  OVERLAPPED ov = {};
  ov.Offset = 6;
  ov.hEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  DWORD n = 0;
  ASSERT_TRUE(ReadFile(h, buf, 4, &n, &ov));
  EXPECT_EQ(std::string(buf, n), "6789");
  EXPECT_EQ(WaitForSingleObject(ov.hEvent, 0), DWORD(WAIT_OBJECT_0));
  EXPECT_TRUE(GetOverlappedResult(h, &ov, &n, TRUE));
  EXPECT_EQ(n, 4u);
  ov.Offset = 10;
  EXPECT_FALSE(ReadFile(h, buf, 4, &n, &ov));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_HANDLE_EOF));
  EXPECT_FALSE(ReadFile(h, buf, 4, &n, nullptr));  // an overlapped handle needs a position
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  CloseHandle(ov.hEvent);
  CloseHandle(h);
}

}  // namespace
