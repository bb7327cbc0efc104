#include <afxwin.h>
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Faults.h"
#include "OleControl.h"

namespace {

const CLSID kTestClsid = {0x12345678, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
std::atomic<int> g_live{0};

// A control with one text property (7), one method that adds two numbers (8), and
// a method (9) that raises event 40 with its argument.
class Adder : public plat::ole::Control {
 public:
  Adder() { ++g_live; }
  ~Adder() override { --g_live; }
  HRESULT Invoke(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result, std::string* error) override {
    if (id == 7 && flags == DISPATCH_PROPERTYPUT) {
      text_ = plat::ole::Utf8FromBstr(args[0].bstrVal);
      return S_OK;
    }
    if (id == 7 && flags == DISPATCH_PROPERTYGET) {
      result->vt = VT_BSTR;
      result->bstrVal = plat::ole::BstrFromUtf8(text_);
      return S_OK;
    }
    if (id == 8 && flags == DISPATCH_METHOD && count == 2) {
      result->vt = VT_R8;
      result->dblVal = args[0].iVal + double(args[1].fltVal);
      return S_OK;
    }
    if (id == 9 && flags == DISPATCH_METHOD) {
      FireEvent(40, args, count);
      return S_OK;
    }
    *error = "No such member.";
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  std::string text_;
};

struct Received {
  UINT id;
  LONG value;
  DWORD thread;
};

class Host : public CWnd {
 public:
  std::vector<Received> events;

 protected:
  void OnFortyOne(LONG value) { events.push_back({0, value, GetCurrentThreadId()}); }
  BOOL OnFortyRange(UINT id, LONG value) {
    events.push_back({id, value, GetCurrentThreadId()});
    return TRUE;
  }
  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(Host, CWnd)
  ON_EVENT(Host, 3, 40, OnFortyOne, VTS_I4)
  ON_EVENT_RANGE(Host, 10, 12, 40, OnFortyRange, VTS_I4)
END_EVENTSINK_MAP()

class ControlHosting : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ole::ControlRegistry::Register(kTestClsid, [] { return std::make_unique<Adder>(); });
    ASSERT_TRUE(host_.CreateEx(0, nullptr, "host", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
  }
  void TearDown() override { host_.DestroyWindow(); }
  Host host_;
};

TEST_F(ControlHosting, CreatesTheControlAsAChildWindowAndDestroysItWithTheWindow) {
  {
    CWnd control;
    ASSERT_TRUE(control.CreateControl(kTestClsid, "name", WS_VISIBLE, CRect(5, 6, 50, 40), &host_, 3));
    EXPECT_EQ(::GetParent(control.m_hWnd), host_.m_hWnd);
    EXPECT_EQ(control.GetDlgCtrlID(), 3);
    EXPECT_TRUE(control.GetStyle() & WS_CHILD);
    EXPECT_NE(plat::ole::ControlRegistry::Find(control.m_hWnd), nullptr);
    EXPECT_EQ(g_live, 1);
  }
  EXPECT_EQ(g_live, 0);  // the CWnd took its control with it
}

TEST_F(ControlHosting, CreationFailsForAnUnknownOrFailingControl) {
  CWnd control;
  plat::ole::ControlRegistry::Clear();
  EXPECT_FALSE(control.CreateControl(kTestClsid, "", 0, CRect(0, 0, 5, 5), &host_, 1));
  plat::ole::ControlRegistry::Register(kTestClsid, [] { return std::make_unique<Adder>(); });
  {
    plat::faults::Scope fault("CreateControl", 1);
    EXPECT_FALSE(control.CreateControl(kTestClsid, "", 0, CRect(0, 0, 5, 5), &host_, 1));
    EXPECT_EQ(control.m_hWnd, nullptr);
  }
  plat::ole::ControlRegistry::Register(kTestClsid, [] { return std::unique_ptr<Adder>(); });  // a factory that fails
  EXPECT_FALSE(control.CreateControl(kTestClsid, "", 0, CRect(0, 0, 5, 5), &host_, 1));
}

TEST_F(ControlHosting, CallsCarryTypesBothWays) {
  CWnd control;
  ASSERT_TRUE(control.CreateControl(kTestClsid, "", 0, CRect(0, 0, 5, 5), &host_, 1));
  control.SetProperty(7, VT_BSTR, "ｶﾒﾗ 1");
  CString text;
  control.GetProperty(7, VT_BSTR, &text);
  EXPECT_STREQ(text, "ｶﾒﾗ 1");

  short asShort = 0;
  control.InvokeHelper(8, DISPATCH_METHOD, VT_I2, &asShort, reinterpret_cast<const BYTE*>(VTS_I2 VTS_R4), 2, 0.5f);
  EXPECT_EQ(asShort, 2);  // 2.5 rounds to even
  float asFloat = 0;
  control.InvokeHelper(8, DISPATCH_METHOD, VT_R4, &asFloat, reinterpret_cast<const BYTE*>(VTS_I2 VTS_R4), -3, 0.25f);
  EXPECT_EQ(asFloat, -2.75f);
  COleVariant asVariant;
  control.InvokeHelper(8, DISPATCH_METHOD, VT_VARIANT, static_cast<VARIANT*>(&asVariant),
                       reinterpret_cast<const BYTE*>(VTS_I2 VTS_R4), 1, 1.0f);
  EXPECT_EQ(asVariant.vt, VT_R8);
  EXPECT_EQ(asVariant.dblVal, 2.0);
}

TEST_F(ControlHosting, AFailedCallThrowsWithTheControlsDescription) {
  CWnd control;
  ASSERT_TRUE(control.CreateControl(kTestClsid, "", 0, CRect(0, 0, 5, 5), &host_, 1));
  COleDispatchException* caught = nullptr;
  try {
    control.InvokeHelper(99, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_NONE));
  } catch (COleDispatchException* e) {
    caught = e;
  }
  ASSERT_NE(caught, nullptr);
  EXPECT_EQ(caught->m_scError, DISP_E_MEMBERNOTFOUND);
  EXPECT_STREQ(caught->m_strDescription, "No such member.");
  caught->Delete();
}

TEST_F(ControlHosting, EventsReachTheOwnersSinkMapByControlId) {
  struct Case {
    UINT id;
    UINT expectedId;  // 0: the single-control handler, which gets no id
    size_t count;
  } cases[] = {{3, 0, 1}, {10, 10, 1}, {12, 12, 1}, {13, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    host_.events.clear();
    CWnd control;
    ASSERT_TRUE(control.CreateControl(kTestClsid, "", 0, CRect(0, 0, 5, 5), &host_, c.id));
    control.InvokeHelper(9, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_I4), LONG(77));
    ASSERT_EQ(host_.events.size(), c.count);
    if (c.count) {
      EXPECT_EQ(host_.events[0].id, c.expectedId);
      EXPECT_EQ(host_.events[0].value, 77);
    }
  }
}

TEST_F(ControlHosting, AnEventRaisedOnAWorkerThreadIsDeliveredOnTheWindowsThread) {
  CWnd control;
  ASSERT_TRUE(control.CreateControl(kTestClsid, "", 0, CRect(0, 0, 5, 5), &host_, 3));
  std::atomic<bool> done{false};
  std::thread worker([&] {
    control.InvokeHelper(9, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_I4), LONG(5));
    done = true;
  });
  MSG msg;
  while (!done) {
    // The worker's call waits for this thread to take it.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    std::this_thread::yield();
  }
  worker.join();
  ASSERT_EQ(host_.events.size(), 1u);
  EXPECT_EQ(host_.events[0].thread, GetCurrentThreadId());
}

}  // namespace
