#include "OleAuto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "COleVariant.h"

namespace {

TEST(Bstr, KeepsUtf16WithItsLengthAndConvertsBackToUtf8) {
  const std::string texts[] = {"", "C:\\Image\\a.jpg", "画像ﾌｧｲﾙ.tif", "pic-\xF0\x9F\x93\xB7.bmp"};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    BSTR b = plat::ole::BstrFromUtf8(text);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(plat::ole::Utf8FromBstr(b), text);
    EXPECT_EQ(b[SysStringLen(b)], 0);
    SysFreeString(b);
  }
  BSTR camera = plat::ole::BstrFromUtf8("\xF0\x9F\x93\xB7");  // one character outside the BMP
  EXPECT_EQ(SysStringLen(camera), 2u);                        // a surrogate pair, as on Windows
  SysFreeString(camera);
  BSTR broken = plat::ole::BstrFromUtf8("a\xFF" "b");
  EXPECT_EQ(plat::ole::Utf8FromBstr(broken), "a\xEF\xBF\xBD" "b");
  SysFreeString(broken);
  const OLECHAR lone[] = {u'x', 0xD800, u'y', 0};
  EXPECT_EQ(plat::ole::Utf8FromBstr(lone), "x\xEF\xBF\xBDy");
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
}

TEST(Bstr, AllocatesWithEmbeddedZeros) {
  const OLECHAR text[] = {u'a', 0, u'b'};
  BSTR b = SysAllocStringLen(text, 3);
  EXPECT_EQ(SysStringLen(b), 3u);
  EXPECT_EQ(b[2], u'b');
  SysFreeString(b);
}

VARIANT Make(VARTYPE vt, double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  switch (vt) {
    case VT_I2: v.iVal = SHORT(value); break;
    case VT_I4: v.lVal = LONG(value); break;
    case VT_R4: v.fltVal = float(value); break;
    case VT_R8: v.dblVal = value; break;
    case VT_BOOL: v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; break;
    default: break;
  }
  return v;
}

double NumberOf(const VARIANT& v) {
  switch (v.vt) {
    case VT_I2: return v.iVal;
    case VT_I4: return v.lVal;
    case VT_R4: return v.fltVal;
    case VT_R8: return v.dblVal;
    case VT_BOOL: return v.boolVal;
    case VT_UI1: return v.bVal;
    default: return NAN;
  }
}

TEST(Variant, ChangesBetweenNumberKinds) {
  struct Case {
    VARTYPE from;
    double value;
    VARTYPE to;
    HRESULT hr;
    double expected;
  } cases[] = {
      {VT_R4, 2.5, VT_I2, S_OK, 2},  // halves round to even
      {VT_R4, 3.5, VT_I2, S_OK, 4},
      {VT_R8, -2.5, VT_I4, S_OK, -2},
      {VT_I4, 40000, VT_I2, DISP_E_OVERFLOW, 0},
      {VT_I4, -32768, VT_I2, S_OK, -32768},
      {VT_I4, 256, VT_UI1, DISP_E_OVERFLOW, 0},
      {VT_BOOL, 1, VT_I4, S_OK, -1},  // TRUE is -1
      {VT_I2, 7, VT_BOOL, S_OK, -1},
      {VT_I2, 0, VT_BOOL, S_OK, 0},
      {VT_I2, 300, VT_R4, S_OK, 300},
      {VT_EMPTY, 0, VT_I4, S_OK, 0},
      {VT_R8, 1e300, VT_R4, DISP_E_OVERFLOW, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " " << c.value << " -> " << c.to);
    VARIANT in = Make(c.from, c.value), out;
    VariantInit(&out);
    EXPECT_EQ(VariantChangeType(&out, &in, 0, c.to), c.hr);
    if (c.hr == S_OK) {
      EXPECT_EQ(out.vt, c.to);
      EXPECT_EQ(NumberOf(out), c.expected);
    } else {
      EXPECT_EQ(out.vt, VT_EMPTY);  // the target is left alone
    }
  }
}

TEST(Variant, ChangesToAndFromText) {
  COleVariant number(LONG(42));
  number.ChangeType(VT_BSTR);
  EXPECT_EQ(plat::ole::Utf8FromBstr(number.bstrVal), "42");
  COleVariant text("12.5");
  text.ChangeType(VT_R4);
  EXPECT_EQ(text.fltVal, 12.5f);
  COleVariant bad("twelve");
  VARIANT out;
  VariantInit(&out);
  EXPECT_EQ(VariantChangeType(&out, &bad, 0, VT_I4), DISP_E_TYPEMISMATCH);
  bool thrown = false;
  try {
    bad.ChangeType(VT_I2);
  } catch (COleException* e) {
    thrown = e->m_sc == DISP_E_TYPEMISMATCH;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
}

TEST(Variant, CopyIsDeepAndClearFrees) {
  SAFEARRAYBOUND bound{3, 0};
  VARIANT array;
  VariantInit(&array);
  array.vt = VT_ARRAY | VT_UI1;
  array.parray = SafeArrayCreate(VT_UI1, 1, &bound);
  static_cast<BYTE*>(array.parray->pvData)[1] = 7;
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &array), S_OK);
  EXPECT_NE(copy.parray, array.parray);
  static_cast<BYTE*>(array.parray->pvData)[1] = 9;
  EXPECT_EQ(static_cast<BYTE*>(copy.parray->pvData)[1], 7);
  EXPECT_EQ(VariantClear(&array), S_OK);
  EXPECT_EQ(array.vt, VT_EMPTY);

  COleVariant a("写真"), b(a);
  EXPECT_NE(a.bstrVal, b.bstrVal);
  a.Clear();
  EXPECT_EQ(plat::ole::Utf8FromBstr(b.bstrVal), "写真");
  VariantClear(&copy);
}

TEST(SafeArray, BoundsAccessAndLocking) {
  SAFEARRAYBOUND bound{4, 1};
  SAFEARRAY* a = SafeArrayCreate(VT_I4, 1, &bound);
  ASSERT_NE(a, nullptr);
  LONG low = 0, high = 0;
  EXPECT_EQ(SafeArrayGetLBound(a, 1, &low), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(a, 1, &high), S_OK);
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 4);
  EXPECT_EQ(SafeArrayGetUBound(a, 2, &high), DISP_E_BADINDEX);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(a, &data), S_OK);
  static_cast<LONG*>(data)[3] = -5;
  EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);  // still in use: kept
  EXPECT_EQ(SafeArrayUnaccessData(a), S_OK);
  EXPECT_EQ(SafeArrayUnaccessData(a), E_FAIL);
  VARTYPE vt = 0;
  SafeArrayGetVartype(a, &vt);
  EXPECT_EQ(vt, VT_I4);
  EXPECT_EQ(SafeArrayDestroy(a), S_OK);

  SAFEARRAYBOUND empty{0, 0};
  SAFEARRAY* none = SafeArrayCreate(VT_UI1, 1, &empty);
  ASSERT_NE(none, nullptr);
  SafeArrayGetUBound(none, 1, &high);
  EXPECT_EQ(high, -1);
  SafeArrayDestroy(none);
  EXPECT_EQ(SafeArrayCreate(VT_BSTR, 1, &bound), nullptr);
  EXPECT_EQ(SafeArrayCreate(VT_UI1, 2, &bound), nullptr);
}

}  // namespace
