// The control panel as the settings mirror of the pages: each setter writes the mirror and
// the document together and does its side effects (broadcasts in order, live view stopped
// and restarted, the window off around the work), a repeated value is ignored where the
// setter says so, texts that do not fit the document are refused, and a reload after a
// setting file applies each value once.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ControlPanelRig.h"
#include "ui/VexSettingsPages.h"

namespace {

using Events = std::vector<std::string>;

class ControlPanelSettings : public ControlPanelRig {};

struct SetterCase {
  const char* name;
  std::function<void(CVexMainControlView&)> set;
  std::function<long(CVexMainControlView&)> mirror;  // null: not mirrored
  std::function<long(CVexDoc&)> document;
  long value;  // in the mirror and the document, unless noted below
  std::vector<DWORD> updates;  // without the camera's exposure bit
  bool frameOff;
  bool live;          // the setter itself stops live view and starts it again
  bool quietRepeat;   // a second call with the same value does nothing at all
};

TEST_F(ControlPanelSettings, EachSetterWritesMirrorAndDocumentAndDoesItsSideEffects) {
  StartPanel();
  using P = CVexMainControlView;
  const SetterCase cases[] = {
      {"FineMode", [](P& p) { p.SetFineMode(p.GetFineMode() ? 0 : 1); }, [](P& p) { return p.GetFineMode(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetFineMode()); }, -1, {0x800}, true, false, true},
      {"QuickPhotoMode", [](P& p) { p.SetQuickPhotoMode(2); }, [](P& p) { return p.GetQuickPhotoMode(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetQuickPhotoMode()); }, 12, {0x800}, true, false, false},
      {"FinePhotoMode", [](P& p) { p.SetFinePhotoMode(4); }, [](P& p) { return p.GetFinePhotoMode(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetFinePhotoMode()); }, 4, {0x800}, true, false, false},
      {"FileFormat", [](P& p) { p.SetFileFormat(3); }, [](P& p) { return p.GetFileFormat(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetFileFormat()); }, 3, {}, false, false, false},
      {"AutoSave", [](P& p) { p.SetAutoSave(1); }, [](P& p) { return p.GetAutoSave(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetAutoSave()); }, 1, {0x2}, true, false, false},
      {"Direction", [](P& p) { p.SetDirection(2); }, [](P& p) { return p.GetDirection(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetRotateReverseMode()); }, 2, {0x800 | 0x400}, true, true, true},
      {"Flip", [](P& p) { p.SetFlip(1); }, [](P& p) { return p.GetFlip() * 6; },
       [](CVexDoc& d) { return static_cast<long>(d.GetRotateReverseMode()); }, 6, {0x800 | 0x400}, true, true,
       false},
      {"WBSampleRect", [](P& p) { p.SetWBSampleRect(p.GetWBSampleRect() ? 0 : 1); },
       [](P& p) { return p.GetWBSampleRect(); }, [](CVexDoc& d) { return static_cast<long>(d.GetWBSampleRect()); }, -1,
       {}, true, false, true},
      {"TotalShots", [](P& p) { p.SetTotalShots(12); }, [](P& p) { return p.GetTotalShots(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetTotalShots()); }, 12, {}, false, false, false},
      {"ResizeSave", [](P& p) { p.SetResizeSave(1); }, [](P& p) { return p.GetResizeSave(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetResizeSave()); }, 1, {0x80, 0x2}, true, false, false},
      {"ResizeSaveSize", [](P& p) { p.SetResizeSaveSize(2); }, [](P& p) { return p.GetResizeSaveSize(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetResizeSaveSize()); }, 2, {0x80}, true, false, false},
      {"AutoPrint", [](P& p) { p.SetAutoPrint(1); }, [](P& p) { return p.GetAutoPrint(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetAutoPrint()); }, 1, {0x2}, true, false, false},
      {"AutoNoiseReduction", [](P& p) { p.SetAutoNoiseReduction(1); }, [](P& p) { return p.GetAutoNoiseReduction(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetAutoNoiseReduction()); }, 1, {0x2}, true, false, false},
      {"AutoEnhance", [](P& p) { p.SetAutoEnhance(1); }, [](P& p) { return p.GetAutoEnhance(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetAutoEnhance()); }, 1, {0x2}, true, true, false},
      {"ContrastOffset", [](P& p) { p.SetContrastOffset(7); }, [](P& p) { return p.GetContrastOffset(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetContrastOffset()); }, 7, {}, false, false, false},
      {"LevelOffset", [](P& p) { p.SetLevelOffset(5); }, [](P& p) { return p.GetLevelOffset(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetLevelOffset()); }, 5, {}, false, false, false},
      {"SharpnessOffset", [](P& p) { p.SetSharpnessOffset(3); }, [](P& p) { return p.GetSharpnessOffset(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetSharpnessOffset()); }, 3, {}, false, false, false},
      {"ColorMode", [](P& p) { p.SetColorMode(1); }, [](P& p) { return p.GetColorMode(); },
       [](CVexDoc& d) { return d.GetMonochromeMode() * 10 + d.GetInvertColorMode(); }, -10, {0x400}, true, false, false},
      {"FocusTargetState", [](P& p) { p.SetFocusTargetState(1); }, [](P& p) { return p.GetFocusTargetState(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetFocusTargetState()); }, 1, {0x800, 0x2}, true, false, false},
      {"FocusTargetDocking", [](P& p) { p.SetFocusTargetDocking(1); }, [](P& p) { return p.GetFocusTargetDocking(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetFocusTargetDocking()); }, 1, {0x800}, true, false, false},
      {"RGBRed", [](P& p) { p.SetRGBRed(-4); }, [](P& p) { return p.GetRGBRed(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetRGBRed()); }, -4, {}, false, false, false},
      {"RGBOption", [](P& p) { p.SetRGBOption(1); }, [](P& p) { return p.GetRGBOption(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetRGBOption() * 10 + d.GetRGBLive()); }, -11, {0x200, 0x2}, true,
       true, false},
      {"AutoEnhanceLive", [](P& p) { p.SetAutoEnhanceLive(1); }, [](P& p) { return p.GetAutoEnhanceLive(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetAutoEnhanceLive()); }, 1, {0x2}, true, true, false},
      {"ShadingLevel", [](P& p) { p.SetShadingLevel(40); }, [](P& p) { return p.GetShadingLevel(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetShadingLevel()); }, 40, {}, false, false, false},
      {"ShadingLive", [](P& p) { p.SetShadingLive(1); }, [](P& p) { return p.GetShadingLive(); },
       [](CVexDoc& d) { return static_cast<long>(d.GetShadingLive()); }, 1, {0x400, 0x2}, true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(PumpUntil([&] { return frame->IsLiveRunning() == 1; }));
    events->Clear();
    c.set(*panel);
    // -1: a flag toggled; -10 and -11: two document switches read as one number.
    const long expected = c.value == -1 ? c.mirror(*panel) : c.value == -10 ? 10 : c.value == -11 ? 11 : c.value;
    if (c.value >= 0) { EXPECT_EQ(c.mirror(*panel), c.value); }
    EXPECT_EQ(c.document(*doc), expected);
    EXPECT_EQ(events->Updates(), c.updates);
    const Events& e = events->events;
    if (c.frameOff) {
      ASSERT_FALSE(e.empty());
      EXPECT_EQ(e.front(), "off");
      EXPECT_EQ(e.back(), "on");
    } else {
      EXPECT_EQ(std::count(e.begin(), e.end(), "off"), 0);
    }
    if (c.live) {
      // Stopped first, every broadcast heard while it is stopped, started before the window comes back.
      ASSERT_GE(e.size(), 4u);
      EXPECT_EQ(e[1], "stop");
      EXPECT_EQ(e[e.size() - 2], "start");
      EXPECT_EQ(std::count(e.begin(), e.end(), "stop"), 1);
    }
    EXPECT_EQ(frame->IsLiveRunning(), 1) << "live view runs again";
    if (c.quietRepeat) {
      events->Clear();
      // The same value again (the toggle case asks for what it now holds).
      if (std::string(c.name) == "FineMode")
        panel->SetFineMode(panel->GetFineMode());
      else if (std::string(c.name) == "WBSampleRect")
        panel->SetWBSampleRect(panel->GetWBSampleRect());
      else
        c.set(*panel);
      EXPECT_TRUE(events->events.empty()) << "nothing at all for an unchanged value";
    }
  }
}

TEST_F(ControlPanelSettings, TheStatusBoxFollowsTheSetters) {
  StartPanel();
  panel->EnableTimeLapse(1);
  panel->SetResizeSave(1);
  panel->SetResizeSaveSize(1);
  panel->SetAutoPrint(1);
  panel->SetAutoEnhance(1);
  EXPECT_EQ(ItemText(1129), "\nR:50%\n\nEnhance");
  panel->EnableTimeLapse(0);
  panel->SetShadingOption(0);
  EXPECT_EQ(ItemText(1129), "\nR:50%\nPrint\nEnhance");
  const struct {
    int size;
    const char* line;
  } sizes[] = {{0, "R:75%"}, {2, "R:25%"}, {3, ""}};
  for (const auto& s : sizes) {
    panel->SetResizeSaveSize(s.size);
    EXPECT_EQ(ItemText(1129), std::string("\n") + s.line + "\nPrint\nEnhance") << s.size;
  }
  panel->SetResizeSave(0);
  panel->SetAutoPrint(0);
  panel->SetAutoEnhance(0);
  EXPECT_EQ(ItemText(1129), "\n\n\n\n");
}

TEST_F(ControlPanelSettings, SaveTextsThatDoNotFitTheDocumentAreRefused) {
  StartPanel();
  ASSERT_TRUE(panel->SetSaveFolder("D:\\Pics\\"));
  EXPECT_STREQ(doc->GetSaveFolder(), "D:\\Pics\\");
  EXPECT_EQ(panel->GetSaveFolder(), "D:\\Pics\\");
  const struct {
    const char* name;
    std::function<BOOL(const char*)> set;
    std::function<CString()> mirror;
    std::function<std::string()> document;
    size_t buffer;
  } cases[] = {
      {"folder", [&](const char* t) { return panel->SetSaveFolder(t); }, [&] { return panel->GetSaveFolder(); },
       [&] { return std::string(doc->GetSaveFolder()); }, 260},
      {"prefix", [&](const char* t) { return panel->SetSavePrefix(t); }, [&] { return panel->GetSavePrefix(); },
       [&] { return std::string(doc->GetSavePrefix()); }, 256},
      {"body", [&](const char* t) { return panel->SetSaveBody(t); }, [&] { return panel->GetSaveBody(); },
       [&] { return std::string(doc->GetSaveBody()); }, 256},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.set("kept"));
    const std::string fits(c.buffer - 1, 'a'), tooLong(c.buffer, 'b');
    EXPECT_TRUE(c.set(fits.c_str()));
    EXPECT_EQ(c.document(), fits);
    EXPECT_FALSE(c.set(tooLong.c_str()));
    EXPECT_EQ(c.document(), fits) << "the document keeps its value";
    EXPECT_EQ(std::string(c.mirror()), fits);
  }
}

// A sheet of pages that notes what the panel asks of it.
struct RecordingPages : CVexSettingsPages {
  static inline int refreshes = 0, totals = 0;
  static inline bool initialisingDuringRefresh = false;
  static inline CVexMainControlView* panel = nullptr;
  BOOL Create(CVexMainControlView* p) override {
    panel = p;
    return sheet.Create(p, WS_CHILD | WS_VISIBLE);
  }
  CPropertySheet* GetSheet() override { return &sheet; }
  CWnd* GetPageItem(Page, int) override { return nullptr; }
  void UpdateTotals() override { ++totals; }
  void RefreshPages() override {
    ++refreshes;
    initialisingDuringRefresh = panel && panel->IsInitialising();
  }
  CPropertyPage page{232};
  CPropertySheet sheet{"Settings"};
  RecordingPages() { sheet.AddPage(&page); }
};

TEST_F(ControlPanelSettings, AReloadAppliesEachValueOnceAndRefreshesThePagesQuietly) {
  RecordingPages::refreshes = RecordingPages::totals = 0;
  CVexSettingsPages::SheetMaker() = [] { return std::unique_ptr<CVexSettingsPages>(new RecordingPages); };
  StartPanel();
  CVexSettingsPages::SheetMaker() = &MakeVexPropertySheet;
  EXPECT_TRUE(panel->IsSheetCreated());
  EXPECT_GT(RecordingPages::totals, 0) << "the exposure read-out lets the Timer page recompute";
  EXPECT_FALSE(panel->IsInitialising());

  // What a setting file brings into the document.
  doc->SetSensitivity(2).SetExposureTime(20).SetLongExposureMode(0).SetAutoSave(1).SetResizeSave(1);
  doc->SetInterval(1, 2, 3).SetTotalShots(7).SetContrastOffset(9).SetSaveBody("night");
  doc->SetFocusTargetState(1);
  events->Clear();
  const auto gainBefore = doc->GetGainLevel();
  frame->BroadcastUpdate(0x10000, 0);
  EXPECT_NE(gainBefore, doc->GetGainLevel());
  EXPECT_EQ(panel->GetSensitivity(), 2);
  EXPECT_EQ(panel->GetExposureTime(), 20);
  EXPECT_EQ(panel->GetAutoSave(), 1);
  EXPECT_EQ(panel->GetIntervalHour() * 3600 + panel->GetIntervalMin() * 60 + panel->GetIntervalSec(), 3723);
  EXPECT_EQ(panel->GetTotalShots(), 7);
  EXPECT_EQ(panel->GetContrastOffset(), 9);
  EXPECT_EQ(panel->GetSaveBody(), "night");
  EXPECT_EQ(panel->GetFocusTargetState(), 1) << "the page shows what the document now holds";
  EXPECT_EQ(RecordingPages::refreshes, 1);
  EXPECT_TRUE(RecordingPages::initialisingDuringRefresh) << "page handlers stay quiet during the refresh";
  EXPECT_FALSE(panel->IsInitialising());
  // The new gain and the new exposure reached the camera, once each.
  EXPECT_EQ(std::count(events->broadcasts.begin(), events->broadcasts.end(), 0x4ul), 2);
  // The reload ends with the live display, the profile and the flows.
  const auto u = events->Updates();
  ASSERT_GE(u.size(), 3u);
  EXPECT_EQ(std::vector<DWORD>(u.end() - 3, u.end()), (std::vector<DWORD>{0x800, 0x20, 0x2}));
  // A second reload of the same values changes nothing on the camera.
  events->Clear();
  frame->BroadcastUpdate(0x10000, 0);
  EXPECT_EQ(std::count(events->broadcasts.begin(), events->broadcasts.end(), 0x4ul), 0);
  EXPECT_EQ(RecordingPages::refreshes, 2);
  // Other values of the broadcast word are ignored.
  events->Clear();
  panel->OnSettingsChanged(0x10001);
  panel->OnSettingsChanged(0x1);
  EXPECT_TRUE(events->events.empty());
}

}  // namespace
