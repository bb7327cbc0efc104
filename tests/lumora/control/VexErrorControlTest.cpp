// Reporting errors: the message table, the error box, the rolling log beside the
// program and the end of the program when one error type keeps coming back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ErrorBoxReader.h"
#include "control/VexErrorControl.h"
#include "user/Responder.h"

namespace {

std::vector<int> g_exits;
void RecordExit(int code) { g_exits.push_back(code); }

std::string ReadLog() {
  std::string text;
  HANDLE f = CreateFileA(CVexErrorControl::LogPath(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return text;
  char buf[8192];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got) text.append(buf, got);
  CloseHandle(f);
  return text;
}

std::vector<std::string> LogLines() {
  std::vector<std::string> lines;
  const std::string text = ReadLog();
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

void WriteLogLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "old " + std::to_string(i) + "\n";
  HANDLE f = CreateFileA(CVexErrorControl::LogPath(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
}

class ErrorReporting : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("C:\\Lumora", nullptr);  // the program's folder, where the log goes
    CVexErrorControl::SetExitHook(RecordExit);
    errorbox::Start();
  }
  void TearDown() override {
    errorbox::Stop();
    CVexErrorControl::SetExitHook(nullptr);
  }
  CVexErrorControl errors;
};

TEST_F(ErrorReporting, PairsWithAndWithoutMessage) {
  const struct {
    int type, detail;
    const char* message;  // null: no message
  } cases[] = {
      {1, 1, "メモリが足りません"},
      {2, 4, "環境ファイルの書込に失敗しました"},
      {110, 9, "撮影に失敗しました"},
      {110, 7, "カメラの初期化に失敗しました"},
      {110, 11, "暗すぎます\n光量を上げてやり直してください"},
      {110, 23, "通信ｴﾗｰ\nｶﾒﾗﾏｲｺﾝ･ｴｺｰﾊﾞｯｸの内容が間違っています。"},
      {241, 1, "ウィンドウの初期化に失敗しました"},
      {241, 27, "画像の処理に失敗しました"},
      {310, 1, "メモリが足りません"},
      {413, 1, "アノテーションオブジェクトの作成に失敗しました"},
      {900, 1, "スケールオブジェクトの作成に失敗しました"},
      {110, 0, nullptr},
      {110, 24, nullptr},
      {2, 5, nullptr},
      {241, 28, nullptr},
      {247, 1, nullptr},
      {0, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + ":" + std::to_string(c.detail));
    EXPECT_EQ(errors.GetErrorMessage(c.type, c.detail), c.message ? 1 : 0);
    EXPECT_STREQ(errors.GetMessageText(), c.message ? c.message : "");
  }
}

TEST_F(ErrorReporting, ShowsLogsAndCodesThePair) {
  errors.ReportError(4, 1);
  ASSERT_EQ(errorbox::Boxes().size(), 1u);
  EXPECT_EQ(errorbox::Boxes()[0].code, "エラーコード: 004:001");
  EXPECT_EQ(errorbox::Boxes()[0].message, "ウィンドウの初期化に失敗しました");
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("004:0001 ", 0), 0u) << lines[0];
  // "yyyy/mm/dd.hh:mm:ss" after the pair, then the message.
  ASSERT_GT(lines[0].size(), 29u);
  EXPECT_EQ(lines[0][13], '/');
  EXPECT_EQ(lines[0][19], '.');
  EXPECT_EQ(lines[0].substr(29), "ウィンドウの初期化に失敗しました");
  EXPECT_TRUE(g_exits.empty());
}

TEST_F(ErrorReporting, PairsWithoutMessageShowAndLogNothing) {
  errors.ReportError(110, 0);
  errors.ReportError(2, 5);
  EXPECT_TRUE(errorbox::Boxes().empty());
  EXPECT_EQ(ReadLog(), "");
}

TEST_F(ErrorReporting, LogKeepsTheLastHundredLines) {
  const struct {
    int before, after;
    const char* first;
  } cases[] = {{99, 100, "old 0"}, {100, 100, "old 1"}};
  for (const auto& c : cases) {
    WriteLogLines(c.before);
    ASSERT_EQ(errors.GetErrorMessage(120, 2), 1);
    ASSERT_EQ(errors.WriteLog(120, 2), 1);
    const auto lines = LogLines();
    ASSERT_EQ(static_cast<int>(lines.size()), c.after) << c.before;
    EXPECT_EQ(lines.front(), c.first);
    EXPECT_EQ(lines.back().rfind("120:0002 ", 0), 0u);
  }
}

TEST_F(ErrorReporting, MessageWithLineBreakWritesTwoLines) {
  errors.ReportError(110, 10);
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "光量を下げてやりなおしてください");
}

TEST_F(ErrorReporting, EleventhRepeatEndsTheProgramBeforeLogging) {
  for (int i = 0; i < 10; ++i) errors.ReportError(110, 1);
  EXPECT_EQ(errorbox::Boxes().size(), 10u);
  EXPECT_TRUE(g_exits.empty());
  errors.ReportError(110, 2);
  EXPECT_EQ(g_exits, std::vector<int>{-1});
  EXPECT_EQ(errorbox::Boxes().size(), 10u);
  EXPECT_EQ(LogLines().size(), 10u);
}

TEST_F(ErrorReporting, AnotherTypeStartsTheCountAgain) {
  // Pairs without a message count too; one report of another type resets the count.
  for (int i = 0; i < 10; ++i) errors.ReportError(110, 0);
  errors.ReportError(120, 0);
  for (int i = 0; i < 10; ++i) errors.ReportError(110, 0);
  EXPECT_TRUE(g_exits.empty());
  errors.ReportError(110, 0);
  EXPECT_EQ(g_exits, std::vector<int>{-1});
}

TEST_F(ErrorReporting, LogFailureIsShownAndTheErrorStillIs) {
  RemoveDirectoryA("C:\\Lumora");
  plat::user::responder::Push([](const plat::user::responder::Shown&) { return IDOK; });
  errors.ReportError(1, 1);
  const auto shown = plat::user::responder::History();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0].text, "Log Read Error");
  EXPECT_EQ(shown[0].caption, "Lumora Error");
  EXPECT_EQ(errorbox::Boxes().size(), 1u);
}

TEST_F(ErrorReporting, BoxThatCannotOpenIsReplacedByAMessage) {
  HMODULE other = LoadLibraryA("Quillon");  // resources without the error box
  ASSERT_NE(other, nullptr);
  AfxSetResourceHandle(other);
  plat::user::responder::Push([](const plat::user::responder::Shown&) { return IDOK; });
  errors.ReportError(1, 1);
  AfxSetResourceHandle(nullptr);
  const auto shown = plat::user::responder::History();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Error Dialog Init Error");
  EXPECT_EQ(shown[0].caption, "Lumora Error");
  EXPECT_EQ(shown[0].type & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(errorbox::Boxes().empty());
  EXPECT_EQ(LogLines().size(), 1u);  // logged before the box was tried
}

}  // namespace
