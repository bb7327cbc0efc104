// Still captures of the simulated camera looking at the built-in chart, and how much a
// captured picture resembles the chart.
#pragma once
#include <cmath>
#include <vector>

#include "CameraFixture.h"
#include "TrueImage.h"
#include "board/Picture.h"

class StillCaptureTest : public CameraTest {
 protected:
  // A checked camera of `revision` looking at the chart.
  CCameraCtrl& Chart(int revision, Keys more = {}) {
    more.push_back({"BOARD_SCENE", "chart"});
    more.push_back({"BOARD_NOISE", "0"});  // equal frames are rendered once
    return Checked(revision, std::move(more));
  }
  // Picture pixels per sensor pixel in a transfer mode.
  static double Scale(LONG tranMode) {
    switch (tranMode) {
      case 1: return 0.5;
      case 4: return 2;
      case 5: case 6: case 7: return 3;
      default: return 1;
    }
  }
  static RECT PictureRect(RECT sensor, double k) {
    return {LONG(sensor.left * k), LONG(sensor.top * k), LONG(sensor.right * k), LONG(sensor.bottom * k)};
  }
  // Correlation of 8 x 8 sensor-pixel block means of the picture with the chart's, over
  // all three colours: 1 for a picture that follows the chart exactly.
  static double Resemblance(const CTrueImage& image, RECT sensor, double k) {
    static const plat::board::Picture chart = plat::board::MakeTestChart(1280, 1024);
    const LONG stride = (image.m_nWidth * 3 + 3) & ~3;
    std::vector<double> a, b;
    for (LONG by = sensor.top; by + 8 <= sensor.bottom; by += 8)
      for (LONG bx = sensor.left; bx + 8 <= sensor.right; bx += 8)
        for (int c = 0; c < 3; ++c) {
          double scene = 0, shot = 0;
          int n = 0, m = 0;
          for (LONG y = by; y < by + 8; ++y)
            for (LONG x = bx; x < bx + 8; ++x) {
              const size_t i = chart.Index(int(x), int(y));
              scene += c == 0 ? chart.blue[i] : c == 1 ? chart.green[i] : chart.red[i];
              ++n;
            }
          const LONG py0 = LONG((by - sensor.top) * k), py1 = LONG((by + 8 - sensor.top) * k);
          const LONG px0 = LONG((bx - sensor.left) * k), px1 = LONG((bx + 8 - sensor.left) * k);
          // One picture pixel per sensor pixel is plenty for a block mean.
          const LONG step = k > 1 ? LONG(k) : 1;
          for (LONG y = py0; y < py1 && y < image.m_nHeight; y += step)
            for (LONG x = px0; x < px1 && x < image.m_nWidth; x += step, ++m)
              shot += image.m_pBits[size_t(image.m_nHeight - 1 - y) * size_t(stride) + size_t(3 * x + c)];
          a.push_back(scene / n);
          b.push_back(m ? shot / m : 0);
        }
    const double n = double(a.size());
    double ma = 0, mb = 0;
    for (size_t i = 0; i < a.size(); ++i) ma += a[i] / n, mb += b[i] / n;
    double sab = 0, saa = 0, sbb = 0;
    for (size_t i = 0; i < a.size(); ++i)
      sab += (a[i] - ma) * (b[i] - mb), saa += (a[i] - ma) * (a[i] - ma), sbb += (b[i] - mb) * (b[i] - mb);
    return saa > 0 && sbb > 0 ? sab / std::sqrt(saa * sbb) : 0;
  }
  // Actuator offsets the board saw, in order.
  static std::vector<std::pair<int, int>> ActuatorTrail() {
    std::vector<std::pair<int, int>> out;
    for (const auto& e : plat::board::Log())
      if (e.kind == plat::board::LogEntry::Kind::Actuator) out.push_back({e.x, e.y});
    return out;
  }
};
