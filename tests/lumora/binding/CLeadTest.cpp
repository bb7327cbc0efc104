#include "binding/CLead.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "OleControl.h"
#include "imaging/ImagingControl.h"

namespace {

struct Call {
  DISPID id;
  WORD flags;
  std::string args;  // "I2:3 R4:1.5 ..."
};

std::string Render(const VARIANT& v) {
  char text[64];
  switch (v.vt) {
    case VT_EMPTY: return "EMPTY";
    case VT_I2: std::snprintf(text, sizeof text, "I2:%d", v.iVal); return text;
    case VT_I4: std::snprintf(text, sizeof text, "I4:%d", v.lVal); return text;
    case VT_R4: std::snprintf(text, sizeof text, "R4:%g", v.fltVal); return text;
    case VT_R8: std::snprintf(text, sizeof text, "R8:%g", v.dblVal); return text;
    case VT_BOOL: std::snprintf(text, sizeof text, "BOOL:%d", v.boolVal); return text;
    case VT_BSTR: return "BSTR:" + plat::ole::Utf8FromBstr(v.bstrVal);
    case VT_I4 | VT_BYREF: std::snprintf(text, sizeof text, "I4&:%d", *v.plVal); return text;
    default: return "?";
  }
}

// Stands in for the imaging control: records every call and answers 12.
class Recorder : public plat::ole::Control {
 public:
  explicit Recorder(std::vector<Call>* log) : log_(log) {}
  HRESULT Invoke(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result, std::string*) override {
    std::string text;
    for (UINT i = 0; i < count; ++i) text += (i ? " " : "") + Render(args[i]);
    log_->push_back({id, flags, text});
    if (result) {
      result->vt = VT_R8;
      result->dblVal = 12.0;
    }
    return S_OK;
  }

 private:
  std::vector<Call>* log_;
};

std::string Result(short v) { return "short:" + std::to_string(v); }
std::string Result(LONG v) { return "long:" + std::to_string(v); }
std::string Result(float v) { return "float:" + std::to_string(int(v)); }
std::string Result(VARIANT v) {
  std::string text = "VARIANT:" + Render(v);
  VariantClear(&v);
  return text;
}

class LeadBinding : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ole::ControlRegistry::Register(CLead::GetClsid(), [this] { return std::make_unique<Recorder>(&log_); });
    ASSERT_TRUE(parent_.CreateEx(0, nullptr, "host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    lead_ = std::make_unique<CLead>();
    ASSERT_TRUE(lead_->CreateControl("", 0, CRect(0, 0, 100, 80), &parent_, 0));
  }
  void TearDown() override {
    lead_.reset();
    parent_.DestroyWindow();
    plat::imaging::ImagingControl::Register();  // the real control again for what follows
  }

  std::vector<Call> log_;
  CWnd parent_;
  std::unique_ptr<CLead> lead_;
};

struct Row {
  const char* name;
  std::string (*call)(CLead&);  // returns the rendered result, "" for none
  DISPID id;
  WORD flags;
  const char* args;
  const char* result;
};

constexpr WORD G = DISPATCH_PROPERTYGET, P = DISPATCH_PROPERTYPUT, M = DISPATCH_METHOD;

#define GET(op, id, res) {#op, [](CLead& l) { return Result(l.op()); }, id, G, "", res}
#define PUT(op, id, value, args) {#op, [](CLead& l) { l.op(value); return std::string(); }, id, P, args, ""}

LONG g_memory = 77, g_size = 5;
const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      GET(GetBitmap, 1, "long:12"),
      PUT(SetBitmap, 1, 4097, "I4:4097"),
      PUT(SetValue146, 146, 0, "I4:0"),
      PUT(SetFlag272, 272, TRUE, "BOOL:-1"),
      {"CreateImage", [](CLead& l) { return Result(l.CreateImage(640, 480, 24)); }, 314, M, "R4:640 R4:480 I2:24", "short:12"},
      GET(GetImageWidth, 10, "float:12"),
      GET(GetImageHeight, 11, "float:12"),
      GET(GetBitsPerPixel, 12, "short:12"),
      PUT(SetAutoSize, -500, FALSE, "BOOL:0"),
      PUT(SetAppearance, -520, 0, "I2:0"),
      PUT(SetBorderStyle, -504, 1, "I2:1"),
      GET(GetBackColor, -501, "long:12"),
      PUT(SetBackColor, -501, 0xFFFFFF, "I4:16777215"),
      PUT(SetAutoRepaint, 2, FALSE, "BOOL:0"),
      {"ForceRepaint", [](CLead& l) { return Result(l.ForceRepaint()); }, 297, M, "", "short:12"},
      PUT(SetFlag5, 5, FALSE, "BOOL:0"),
      PUT(SetMode6, 6, 1, "I2:1"),
      PUT(SetMode19, 19, 0, "I2:0"),
      PUT(SetFlag20, 20, FALSE, "BOOL:0"),
      PUT(SetFlag57, 57, TRUE, "BOOL:-1"),
      PUT(SetFlag160, 160, TRUE, "BOOL:-1"),
      PUT(SetFlag237, 237, TRUE, "BOOL:-1"),
      PUT(SetFlag275, 275, FALSE, "BOOL:0"),
      GET(GetDisplayTop, 22, "float:12"),
      GET(GetDisplayLeft, 21, "float:12"),
      GET(GetDisplayWidth, 23, "float:12"),
      GET(GetDisplayHeight, 24, "float:12"),
      GET(GetValue25, 25, "float:12"), PUT(SetValue25, 25, 1.5f, "R4:1.5"),
      GET(GetValue26, 26, "float:12"), PUT(SetValue26, 26, 2.5f, "R4:2.5"),
      GET(GetValue27, 27, "float:12"), PUT(SetValue27, 27, 3.5f, "R4:3.5"),
      GET(GetValue28, 28, "float:12"), PUT(SetValue28, 28, 4.5f, "R4:4.5"),
      GET(GetValue29, 29, "float:12"),
      GET(GetValue30, 30, "float:12"),
      GET(GetValue31, 31, "float:12"),
      GET(GetValue32, 32, "float:12"),
      GET(GetValue60, 60, "float:12"),
      GET(GetValue61, 61, "float:12"),
      GET(GetValue136, 136, "float:12"),
      GET(GetValue137, 137, "float:12"),
      GET(GetPaintSizeMode, 154, "short:12"),
      PUT(SetPaintSizeMode, 154, 4, "I2:4"),
      GET(GetPaintZoom, 155, "float:12"),
      PUT(SetPaintZoom, 155, 250.0f, "R4:250"),
      {"Method335", [](CLead& l) { return Result(l.Method335(1, 2, 3, 4)); }, 335, M, "R4:1 R4:2 R4:3 R4:4", "short:12"},
      {"SetDisplayRect", [](CLead& l) { return Result(l.SetDisplayRect(-5, 6, 7, 8)); }, 336, M, "R4:-5 R4:6 R4:7 R4:8", "short:12"},
      PUT(SetValue223, 223, 1.0f, "R4:1"),
      PUT(SetValue224, 224, 255, "I4:255"),
      PUT(SetPaintContrast, 172, -30, "I2:-30"),
      PUT(SetPaintGamma, 173, 150, "I2:150"),
      PUT(SetPaintBrightness, 174, 20, "I2:20"),
      PUT(SetRegionEnabled, 48, TRUE, "BOOL:-1"),
      GET(GetRegionLeft, 49, "float:12"),
      GET(GetRegionTop, 50, "float:12"),
      GET(GetRegionWidth, 51, "float:12"),
      GET(GetRegionHeight, 52, "float:12"),
      PUT(SetRegionLeft, 49, 10.0f, "R4:10"),
      PUT(SetRegionTop, 50, 11.0f, "R4:11"),
      PUT(SetRegionWidth, 51, -12.0f, "R4:-12"),
      PUT(SetRegionHeight, 52, 13.0f, "R4:13"),
      {"SetRegionRect", [](CLead& l) { l.SetRegionRect(0, 0, 0, 0); return std::string(); }, 344, M, "R4:0 R4:0 R4:0 R4:0", ""},
      {"Method282", [](CLead& l) { return Result(l.Method282(3)); }, 282, M, "I2:3", "short:12"},
      {"Method283", [](CLead& l) { return Result(l.Method283(3)); }, 283, M, "I2:3", "short:12"},
      {"ChangeContrast", [](CLead& l) { return Result(l.ChangeContrast(-100)); }, 284, M, "I2:-100", "short:12"},
      {"FlipVertical", [](CLead& l) { return Result(l.FlipVertical()); }, 286, M, "", "short:12"},
      {"Grayscale", [](CLead& l) { return Result(l.Grayscale(8)); }, 287, M, "I2:8", "short:12"},
      {"ChangeHue", [](CLead& l) { return Result(l.ChangeHue(90)); }, 289, M, "I2:90", "short:12"},
      {"ChangeBrightness", [](CLead& l) { return Result(l.ChangeBrightness(250)); }, 290, M, "I2:250", "short:12"},
      {"Negative", [](CLead& l) { return Result(l.Negative()); }, 291, M, "", "short:12"},
      {"Sharpen", [](CLead& l) { return Result(l.Sharpen(500)); }, 294, M, "I2:500", "short:12"},
      {"ChangeSaturation", [](CLead& l) { return Result(l.ChangeSaturation(-1000)); }, 295, M, "I2:-1000", "short:12"},
      {"FlipHorizontal", [](CLead& l) { return Result(l.FlipHorizontal()); }, 296, M, "", "short:12"},
      {"Rotate", [](CLead& l) { return Result(l.Rotate(9000, 1, 0x102030)); }, 305, M, "I4:9000 I2:1 I4:1056816", "short:12"},
      {"ApplyGamma", [](CLead& l) { return Result(l.ApplyGamma(180)); }, 312, M, "I2:180", "short:12"},
      {"ResizeImage", [](CLead& l) { return Result(l.ResizeImage(320, 240, 2)); }, 319, M, "R4:320 R4:240 I2:2", "short:12"},
      {"CropImage", [](CLead& l) { return Result(l.CropImage(1, 2, 30, 40)); }, 339, M, "R4:1 R4:2 R4:30 R4:40", "short:12"},
      {"Method315", [](CLead& l) { return Result(l.Method315(555, 1, 2, 3, 4)); }, 315, M, "I4:555 R4:1 R4:2 R4:3 R4:4", "short:12"},
      {"SplitColorPlanes", [](CLead& l) { return Result(l.SplitColorPlanes(2)); }, 331, M, "I4:2", "short:12"},
      {"MergeColorPlanes", [](CLead& l) { return Result(l.MergeColorPlanes(2)); }, 332, M, "I4:2", "short:12"},
      {"GetImageSlot", [](CLead& l) { return Result(l.GetImageSlot(1)); }, 482, G, "I2:1", "long:12"},
      {"SetImageSlot", [](CLead& l) { l.SetImageSlot(2, 4099); return std::string(); }, 482, P, "I2:2 I4:4099", ""},
      {"SetLutEntry", [](CLead& l) { l.SetLutEntry(255, 128); return std::string(); }, 479, P, "I2:255 I2:128", ""},
      {"ApplyLookupTable", [](CLead& l) { return Result(l.ApplyLookupTable(0)); }, 327, M, "I2:0", "short:12"},
      {"GetImageDC", [](CLead& l) { return Result(l.GetImageDC()); }, 316, M, "", "long:12"},
      {"ReleaseImageDC", [](CLead& l) { return Result(l.ReleaseImageDC()); }, 317, M, "", "short:12"},
      {"GetPixel", [](CLead& l) { return Result(l.GetPixel(3, 4)); }, 491, G, "R4:3 R4:4", "long:12"},
      {"GetDrawDC", [](CLead& l) { return Result(l.GetDrawDC()); }, 345, M, "", "long:12"},
      {"ReleaseDrawDC", [](CLead& l) { return Result(l.ReleaseDrawDC()); }, 346, M, "", "short:12"},
      {"ReadFileInfo", [](CLead& l) { return Result(l.ReadFileInfo("C:\\画像\\a.jpg", 0)); }, 341, M, "BSTR:C:\\画像\\a.jpg I2:0", "short:12"},
      GET(GetFileWidth, 40, "float:12"),
      GET(GetFileHeight, 41, "float:12"),
      GET(GetFileBitsPerPixel, 43, "short:12"),
      GET(GetFileValue44, 44, "long:12"),
      GET(GetFileValue45, 45, "long:12"),
      {"LoadFile", [](CLead& l) { return Result(l.LoadFile("C:\\a.tif", 0, 0, -1)); }, 322, M, "BSTR:C:\\a.tif I2:0 I2:0 I2:-1", "short:12"},
      {"SaveFile", [](CLead& l) { return Result(l.SaveFile("C:\\s.jpg", 98, 24, 6, 0)); }, 301, M, "BSTR:C:\\s.jpg I2:98 I2:24 I2:6 I2:0", "short:12"},
      {"SaveToMemory", [](CLead& l) { return Result(l.SaveToMemory(&g_memory, 98, 24, 2, &g_size)); }, 368, M, "I4&:77 I2:98 I2:24 I2:2 I4&:5", "short:12"},
      {"ReadFileField", [](CLead& l) { return Result(l.ReadFileField("C:\\a.jpg", 0, 36)); }, 425, M, "BSTR:C:\\a.jpg I2:0 I2:36", "VARIANT:R8:12"},
      {"SetFileField", [](CLead& l) { COleVariant v(LONG(9)); l.SetFileField(22, v); return std::string(); }, 490, P, "I2:22 I4:9", ""},
      {"SetFileField empty", [](CLead& l) { COleVariant v; l.SetFileField(178, v); return std::string(); }, 490, P, "I2:178 EMPTY", ""},
      // Other spellings of the same calls.
      {"RenderToDC", [](CLead& l) { return Result(l.RenderToDC(555, 1, 2, 3, 4)); }, 315, M, "I4:555 R4:1 R4:2 R4:3 R4:4", "short:12"},
      {"Filter283", [](CLead& l) { return Result(l.Filter283(3)); }, 283, M, "I2:3", "short:12"},
      {"SetDisplaySourceRect", [](CLead& l) { return Result(l.SetDisplaySourceRect(1, 2, 3, 4)); }, 335, M, "R4:1 R4:2 R4:3 R4:4", "short:12"},
      {"SetRect335", [](CLead& l) { return Result(l.SetRect335(1, 2, 3, 4)); }, 335, M, "R4:1 R4:2 R4:3 R4:4", "short:12"},
      GET(GetFileFormat, 43, "short:12"),
  };
  return rows;
}

TEST_F(LeadBinding, EveryOperationIsOneDispatchCallWithItsIdKindAndTypes) {
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.name);
    log_.clear();
    EXPECT_EQ(row.call(*lead_), row.result);
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0].id, row.id);
    EXPECT_EQ(log_[0].flags, row.flags);
    EXPECT_EQ(log_[0].args, row.args);
  }
}

TEST_F(LeadBinding, ClassAndIdentity) {
  CRuntimeClass* rc = lead_->GetRuntimeClass();
  EXPECT_STREQ(rc->m_lpszClassName, "CLead");
  EXPECT_EQ(rc->m_wSchema, 0xFFFFu);
  EXPECT_EQ(rc->m_pBaseClass, RUNTIME_CLASS(CWnd));
  std::unique_ptr<CObject> made(rc->CreateObject());
  EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CLead)));
  EXPECT_EQ(plat::ole::ControlRegistry::ClassName(CLead::GetClsid()), "{00110000-B1BA-11CE-ABC6-F5B2E79D9E3F}");
}

TEST_F(LeadBinding, AFailedCallThrowsTheDispatchException) {
  // A window that holds no control cannot answer.
  CLead plain;
  ASSERT_TRUE(plain.CreateEx(0, nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &parent_, 5));
  bool thrown = false;
  try {
    plain.GetBitmap();
  } catch (COleDispatchException* e) {
    thrown = true;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
  plain.DestroyWindow();
}

TEST(LeadCreation, FailsWhenTheControlIsNotRegistered) {
  plat::ole::ControlRegistry::Clear();
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
  CLead lead;
  EXPECT_FALSE(lead.CreateControl("", 0, CRect(0, 0, 10, 10), &parent, 0));
  EXPECT_EQ(lead.GetSafeHwnd(), nullptr);
  parent.DestroyWindow();
  plat::imaging::ImagingControl::Register();
}

}  // namespace
