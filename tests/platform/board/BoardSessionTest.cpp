// A whole session as the camera library runs it: calibration, board search and
// bring-up, the command protocol, and one frame read line by line with the library's
// counter band wait and event polling. Every wait ends within the library's budgets.
#include "BoardFixture.h"

using plat::board::PatternScene;

namespace {

class BoardSession : public BoardTest {
 protected:
  void Wait(double seconds) { plat::clock::SleepMicros(int64_t(seconds * 1e6)); }

  // Port reads per half second: rounds of stable 0xCFC reads until one takes 0.05 s.
  int Calibrate() {
    int count = 0;
    for (;;) {
      int64_t start = plat::clock::NowMicros();
      for (int i = 0; i < count; ++i) {
        uint32_t a = In(0xCFC), b = In(0xCFC);
        while (a != b) a = b, b = In(0xCFC);
      }
      if (plat::clock::NowMicros() - start >= 50000) return count * 10;
      count += 1000;
    }
  }
  // Status polls until (status & mask) == want, counted against the budget.
  bool Poll(uint32_t mask, uint32_t want) {
    for (int i = 0; i < budget; ++i)
      if ((Status() & mask) == want) return true;
    return false;
  }
  bool Handshake() {
    if (!Poll(1, 0)) return false;
    for (int extra = 0; extra < budget; ++extra)
      if (extra >= 4 && !(Status() & 1)) return true;
    return false;
  }
  // The echo loop of revision 217: up to 10 tries until the echo matches and is done.
  int Send(uint32_t word) {
    if (!Handshake()) return -1;
    for (int tries = 1; tries <= 10; ++tries) {
      Command(word);
      uint32_t echo = In(kBase + 12);
      for (int i = 0; i < 32768 && (echo & 1); ++i) echo = In(kBase + 12);
      if (((echo >> 16) & 0x1FFF) == word && (echo & 0xC0000000u)) return tries;
      if (!Handshake()) return -1;
    }
    return 10;
  }
  bool Sync(bool set) { return Poll(4, set ? 4 : 0); }

  int budget = 0;
};

TEST_F(BoardSession, BringsUpTheBoardAndReadsAFrame) {
  Configure({{"BOARD_POWERED", "0"}});
  int perHalfSecond = Calibrate();
  EXPECT_GT(perHalfSecond, 50000);  // about 0.5 s of 3-microsecond reads
  EXPECT_LT(perHalfSecond, 250000);
  budget = perHalfSecond;

  // Board search: the first bus with a match; BAR0 without its I/O bit; the revision.
  int device = -1;
  for (int bus = 0; bus < 8 && device < 0; ++bus)
    for (int dev = 0; dev < 32; ++dev)
      if (PciConfig(bus, dev, 0) == 0x00021022u) device = dev;
  ASSERT_GE(device, 0);
  uint32_t base = PciConfig(0, device, 4) & ~1u;
  ASSERT_EQ(base, kBase);
  ASSERT_EQ(PciConfig(0, device, 2) & 0xFF, 217u);

  // Reset, power-up, ready poll.
  Out(base + 24, 0);
  Wait(0.02);
  Status();
  Wait(0.1);
  Command(0xB00);
  Wait(1.0);
  ASSERT_TRUE(Poll(1, 0));

  // Exposure step (1 in mode 2), then the two timed waits.
  EXPECT_EQ(Send(0x1300), 1);
  EXPECT_EQ(Send(0x0F00 | 8), 1);
  EXPECT_EQ(Send(0x1000 | 64), 1);
  ASSERT_TRUE(Sync(false));
  ASSERT_TRUE(Sync(true));

  // Window at the top of the picture (row 0 + offset 26); a short mode-1 exposure.
  Out(base + 24, (3 << 8) | 26);
  Out(base + 24, (2 << 8) | 0);
  EXPECT_EQ(Send(0x0F00 | (200 % 32) * 8), 1);
  EXPECT_EQ(Send(0x1000 | (200 / 32 + 128)), 1);

  // Start, wait for the frame, the band around the window's first line, re-arm, drop one line.
  Out(base + 24, 1 << 8);
  ASSERT_TRUE(Poll(2, 2));
  const int t = 13;
  for (int i = 0; i < budget; ++i) {
    int c = Counter();
    if (!(t - 3 < c && c < t + 5)) break;
  }
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  ASSERT_TRUE(ReadLine(line, o));
  ASSERT_TRUE(Signalled());

  // 516 lines: wait while the counter is in the band around the line, then an overlapped
  // read whose event is tested at most 513 times.
  int timeouts = 0;
  for (int index = 0; index < 516; ++index) {
    int reads = 0;
    for (int c = Counter(); index + t - 3 < c && c < index + t + 5; c = Counter()) ASSERT_LT(++reads, 32 * 516);
    BOOL started = ReadLine(line, o);
    ASSERT_TRUE(started || GetLastError() == ERROR_IO_PENDING);
    bool done = false;
    for (int test = 0; test < 513 && !done; ++test) done = Signalled();
    if (!done) {
      CancelIo(Device());
      ++timeouts;
      continue;
    }
    uint32_t want = index < 512 ? PatternScene::PatternCell(index, 100) : PatternScene::kDarkWord;  // past the sensor
    ASSERT_EQ(Word(line, 100), want) << index;
  }
  EXPECT_EQ(timeouts, 0);
}

}  // namespace
