// The driver's requests as the camera library sends them.
#include <cstring>

#include "BoardFixture.h"
#include "WinError.h"
#include "board/VxdBuffers.h"
#include "board/Zendo.h"
#include "LastError.h"
#include "conio.h"

using plat::board::PatternScene;

namespace {

TEST_F(BoardTest, PciScanFindsTheConfiguredBoards) {
  Configure({{"BOARD_COUNT", "2"}, {"BOARD_BARS", "0xD000,0xD400"}, {"BOARD_REVISION", "216"}, {"BOARD_BUS", "1"}});
  std::vector<std::pair<int, int>> found;
  for (int bus = 0; bus < 8; ++bus)
    for (int dev = 0; dev < 32; ++dev)
      if (PciConfig(bus, dev, 0) == 0x00021022u) found.emplace_back(bus, dev);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].first, 1);
  EXPECT_EQ(PciConfig(found[0].first, found[0].second, 2) & 0xFF, 216u);
  EXPECT_EQ(PciConfig(found[0].first, found[0].second, 4), 0xD001u);  // I/O space bit set
  EXPECT_EQ(PciConfig(found[1].first, found[1].second, 4), 0xD401u);
  EXPECT_EQ(PciConfig(0, 0, 0), 0xFFFFFFFFu);  // empty slot
  // Function 1 of a board and an address without the enable bit read as nothing.
  Out(0xCF8, 0x80000000u | (1 << 16) | (found[0].second << 11) | (1 << 8));
  EXPECT_EQ(In(0xCFC), 0xFFFFFFFFu);
  Out(0xCF8, (1 << 16) | (found[0].second << 11));
  EXPECT_EQ(In(0xCFC), 0xFFFFFFFFu);
}

TEST_F(BoardTest, BoardListAndRecordDescribeEachBoard) {
  Configure({{"BOARD_COUNT", "2"}, {"BOARD_BARS", "0xD000,0xD400"}});
  uint8_t list[plat::board::kBoardListBytes];
  DWORD got = 0;
  ASSERT_TRUE(DeviceIoControl(Device(), plat::board::kIoctlBoardList, nullptr, 0, list, sizeof list, &got, nullptr));
  EXPECT_EQ(got, 244u);
  uint32_t count, word0, base;
  std::memcpy(&count, list + 240, 4);
  EXPECT_EQ(count, 2u);
  std::memcpy(&word0, list + 24, 4);
  std::memcpy(&base, list + 24 + 16, 4);
  EXPECT_EQ((word0 >> 16) & 0xF, 3u);  // overlapped transfers
  EXPECT_EQ(base, 0xD400u);

  HANDLE second = Open("KQPCI2");
  ASSERT_NE(second, INVALID_HANDLE_VALUE);
  uint8_t record[24];
  ASSERT_TRUE(DeviceIoControl(second, plat::board::kIoctlBoardRecord, nullptr, 0, record, 24, &got, nullptr));
  EXPECT_EQ(std::memcmp(record, list + 24, 24), 0);

  ::SetLastError(0);
  EXPECT_FALSE(DeviceIoControl(Device(), plat::board::kIoctlBoardList, nullptr, 0, list, 100, &got, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(BoardTest, SynchronousBoardsSayNotOverlappedInTheirRecord) {
  Configure({{"BOARD_REVISION", "214"}});
  uint8_t record[24];
  DWORD got = 0, word0 = 0;
  ASSERT_TRUE(DeviceIoControl(Device(), plat::board::kIoctlBoardRecord, nullptr, 0, record, 24, &got, nullptr));
  std::memcpy(&word0, record, 4);
  EXPECT_NE((word0 >> 16) & 0xF, 3u);
}

TEST_F(BoardTest, DeviceNamesFollowTheSystemFamily) {
  struct Case {
    const char* platform;
    const char* version;
    const char* name;
    bool opens;
  } cases[] = {
      {"NT", "5.1.2600", "KQPCI1", true},   {"NT", "5.0.2195", "kqpci1", true}, {"NT", "4.0.1381", "KQPCI1", true},
      {"NT", "5.1.2600", "KQPCI2", false},  {"NT", "5.1.2600", "KQPCI", false}, {"NT", "5.1.2600", "KQPCI1x", false},
      {"NT", "5.1.2600", "kq2pci", false},  {"9x", "4.10.2222", "kq2pci", true}, {"9x", "4.10.2222", "KQPCI1", false},
  };
  for (const Case& c : cases) {
    Configure({{"PLATFORM", c.platform}, {"WINVER", c.version}});
    HANDLE h = Open(c.name);
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens) << c.platform << " " << c.name;
    if (!c.opens) {
      EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND)) << c.name;
    }
  }
}

TEST_F(BoardTest, PortRequestsCheckWidthsAndCodes) {
  // 16-bit read of the status register's upper half is the line counter.
  plat::clock::Advance(100 * 156);
  uint32_t full = Status(), high = In(kBase + 2, 2);
  EXPECT_LE(full >> 16, high);
  EXPECT_LT(high, 0x10000u);

  DWORD address = (kBase << 2) | 0, value = 0, got = 0;
  ::SetLastError(0);
  EXPECT_FALSE(DeviceIoControl(Device(), plat::board::kIoctlPortRead, &address, 4, &value, 4, &got, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(DeviceIoControl(Device(), 0x9C402400, &address, 4, &value, 4, &got, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FUNCTION));
  EXPECT_TRUE(DeviceIoControl(Device(), plat::board::kIoctlSyncReadEnd, nullptr, 0, nullptr, 0, &got, nullptr));
  // Ports where nothing answers float high.
  EXPECT_EQ(In(0x300), 0xFFFFFFFFu);
  EXPECT_EQ(In(0x300, 2), 0xFFFFu);
}

TEST_F(BoardTest, OverlappedLineReadCompletesAndSignalsTheEvent) {
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  ASSERT_TRUE(ReadLine(line, o));
  EXPECT_TRUE(HasOverlappedIoCompleted(&o));
  EXPECT_TRUE(Signalled());   // the library's test of the event without waiting
  EXPECT_FALSE(Signalled());  // auto-reset: the test took the signal
  DWORD moved = 0;
  EXPECT_TRUE(GetOverlappedResult(Device(), &o, &moved, FALSE));
  EXPECT_EQ(moved, 2584u);
}

TEST_F(BoardTest, LinesArriveInOrderFromTheWindowStart) {
  // Window start at sensor row 26 + 20: picture line pair 10 is the first window line;
  // the line before it comes first and is the one the library drops.
  Out(kBase + 24, (2 << 8) | 0);
  Out(kBase + 24, (3 << 8) | 46);
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  for (int k = 0; k < 4; ++k) {
    ASSERT_TRUE(ReadLine(line, o));
    EXPECT_EQ(Word(line, 0), PatternScene::PatternCell(9 + k, 0)) << k;
    EXPECT_EQ(Word(line, 639), PatternScene::PatternCell(9 + k, 639)) << k;
    EXPECT_EQ(Word(line, 640), PatternScene::kDarkWord);  // after the last cell
  }
  // A new frame starts over at the window start.
  Rearm();
  ASSERT_TRUE(ReadLine(line, o));
  EXPECT_EQ(Word(line, 5), PatternScene::PatternCell(9, 5));
}

TEST_F(BoardTest, HalfSizeReadoutSkipsEverySecondLinePair) {
  Out(kBase + 24, (3 << 8) | (26 + 20));  // window at picture pair 10
  Out(kBase + 24, (1 << 8) | 0x40);       // half-size start
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  ASSERT_TRUE(ReadLine(line, o));
  EXPECT_EQ(Word(line, 1), PatternScene::PatternCell(8, 1));  // the dropped line
  for (int k = 0; k < 3; ++k) {
    ASSERT_TRUE(ReadLine(line, o));
    EXPECT_EQ(Word(line, 1), PatternScene::PatternCell(10 + 2 * k, 1)) << k;
  }
}

TEST_F(BoardTest, TheLineAboveThePictureAndBeyondItIsBlack) {
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  ASSERT_TRUE(ReadLine(line, o));  // window at row 26: the line before is a black row
  EXPECT_EQ(Word(line, 0), PatternScene::kDarkWord);
  for (int k = 0; k < 512; ++k) ASSERT_TRUE(ReadLine(line, o));
  EXPECT_EQ(Word(line, 3), PatternScene::PatternCell(511, 3));
  ASSERT_TRUE(ReadLine(line, o));
  EXPECT_EQ(Word(line, 3), PatternScene::kDarkWord);
}

TEST_F(BoardTest, RevisionTwoTwentyFiveMovesShortLines) {
  Configure({{"BOARD_REVISION", "225"}});
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  ASSERT_TRUE(ReadLine(line, o, 2584));
  EXPECT_EQ(o.InternalHigh, 1288u);
  EXPECT_EQ(line[1288], 0xEE);  // nothing written past the line
}

TEST_F(BoardTest, DataPortAndBlockReadsCarryTheLeadWords) {
  Rearm();
  std::vector<uint32_t> words(646 * 2);
  DWORD address = ((kBase + 4) << 2) | 3, got = 0;
  ASSERT_TRUE(DeviceIoControl(Device(), plat::board::kIoctlBlockRead, &address, 4, words.data(), 646 * 4 * 2, &got, nullptr));
  EXPECT_EQ(got, 646u * 8);
  // Line 0 is the dropped black line; line 1 has two lead words, 640 cells, four more.
  EXPECT_EQ(words[646 + 0], PatternScene::kDarkWord);
  EXPECT_EQ(words[646 + 1], PatternScene::kDarkWord);
  EXPECT_EQ(words[646 + 2], PatternScene::PatternCell(0, 0));
  EXPECT_EQ(words[646 + 641], PatternScene::PatternCell(0, 639));
  EXPECT_EQ(words[646 + 642], PatternScene::kDarkWord);
  // Plain 32-bit reads continue with the next line.
  In(kBase + 4);
  In(kBase + 4);
  EXPECT_EQ(In(kBase + 4), PatternScene::PatternCell(1, 0));
}

TEST_F(BoardTest, SynchronousLineReadOnAPlainHandle) {
  HANDLE plain = Open("KQPCI1", false);
  Rearm();
  std::vector<uint8_t> line(2584);
  DWORD done = 0;
  ASSERT_TRUE(ReadFile(plain, line.data(), 2584, &done, nullptr));
  EXPECT_EQ(done, 2584u);
  EXPECT_EQ(Word(line, 0), PatternScene::kDarkWord);
}

TEST_F(BoardTest, VxdRequestsListSelectAndReadThroughAPinnedBuffer) {
  Configure({{"PLATFORM", "9x"}, {"BOARD_COUNT", "2"}});
  HANDLE vxd = Open("kq2pci", false);
  ASSERT_NE(vxd, INVALID_HANDLE_VALUE);
  uint8_t list[plat::board::kBoardListBytes];
  DWORD got = 0, count = 0;
  ASSERT_TRUE(DeviceIoControl(vxd, plat::board::kVxdBoardList, nullptr, 0, list, sizeof list, &got, nullptr));
  std::memcpy(&count, list + 240, 4);
  EXPECT_EQ(count, 2u);
  DWORD number = 3;
  EXPECT_FALSE(DeviceIoControl(vxd, plat::board::kVxdSelectBoard, &number, 4, nullptr, 0, &got, nullptr));
  number = 1;
  ASSERT_TRUE(DeviceIoControl(vxd, plat::board::kVxdSelectBoard, &number, 4, nullptr, 0, &got, nullptr));

  _outpd(USHORT(kBase + 4), 1);  // 9x programs reach the ports directly
  std::vector<uint8_t> line(2584, 0xEE);
  DWORD token = plat::board::PinVxdBuffer(line.data(), DWORD(line.size()));
  DWORD request[3] = {0, 2584, token};
  ASSERT_TRUE(DeviceIoControl(vxd, plat::board::kVxdStartRead, request, 12, nullptr, 0, &got, nullptr));
  DWORD finished = 0;
  ASSERT_TRUE(DeviceIoControl(vxd, plat::board::kVxdPollRead, nullptr, 0, &finished, 4, &got, nullptr));
  EXPECT_EQ(finished, 1u);
  EXPECT_EQ(Word(line, 0), PatternScene::kDarkWord);
  plat::board::UnpinVxdBuffer(token);
  // An address that is no pinned buffer (or too small for the count) is refused.
  ::SetLastError(0);
  EXPECT_FALSE(DeviceIoControl(vxd, plat::board::kVxdStartRead, request, 12, nullptr, 0, &got, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(BoardTest, DirectPortFunctionsReachConfigurationSpaceAndTheProbe) {
  Configure({{"PLATFORM", "9x"}, {"BOARD_PORT_BOARDS", "1"}});
  _outpd(0xCF8, 0x80000000u | (8 << 11));
  EXPECT_EQ(_inpd(0xCFC), 0x00021022u);
  EXPECT_EQ(_inpw(0xCFE), 0x0002u);
  // A port board at list value 16 answers its probe with bit 0 clear; the others float.
  EXPECT_EQ(_inp(0x190) & 1, 0);
  EXPECT_EQ(_inp(0x180), 0xFF);
  EXPECT_EQ(_inp(0x1A0), 0xFF);
  EXPECT_EQ(_outp(0x191, 0x1FF), 0xFF);
}

TEST_F(BoardTest, ZendoStoresTheBoardDeviceHandle) {
  HANDLE h = nullptr;
  ASSERT_TRUE(ZendoOpenBoard(&h));
  ASSERT_TRUE(plat::FindKernel<plat::board::BoardDevice>(h));
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  EXPECT_TRUE(ReadLine(line, o, 2584, h));
  EXPECT_TRUE(Signalled());  // opened for overlapped reads
  EXPECT_TRUE(CloseHandle(h));

  Configure({{"BOARD_COUNT", "0"}});
  h = nullptr;
  EXPECT_FALSE(ZendoOpenBoard(&h));
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
}

}  // namespace
