#include "AfxDDX.h"

#include "CWnd.h"

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWnd = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (!hWnd) AfxThrowNotSupportedException();  // a missing control is a programming error
  m_hWndLastControl = hWnd;
  m_bEditLastControl = FALSE;
  return hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWnd = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWnd;
}

void CDataExchange::Fail() {
  if (!m_bSaveAndValidate) AfxThrowUserException();  // loading cannot fail
  if (m_hWndLastControl) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "CWinApp.h"

namespace {
// The framework's prompts for refused input.
constexpr const char* kParseInt = "Please enter an integer.";
constexpr const char* kParseUInt = "Please enter a positive integer.";
constexpr const char* kParseByte = "Please enter an integer between 0 and 255.";
constexpr const char* kParseReal = "Please enter a number.";
constexpr const char* kIntRange = "Please enter an integer between %s and %s.";
constexpr const char* kRealRange = "Please enter a number between %s and %s.";
constexpr const char* kStringSize = "Please enter no more than %d characters.";

CString WindowText(HWND hWnd) {
  int n = ::GetWindowTextLengthA(hWnd);
  CString text;
  ::GetWindowTextA(hWnd, text.GetBufferSetLength(n), n + 1);
  text.ReleaseBuffer();
  return text;
}

void SetWindowTextIfChanged(HWND hWnd, LPCSTR text) {
  if (WindowText(hWnd) != text) ::SetWindowTextA(hWnd, text);
}

[[noreturn]] void Refuse(CDataExchange* pDX, LPCSTR prompt) {
  AfxMessageBox(prompt, MB_ICONEXCLAMATION);
  pDX->Fail();
}

// A whole number with optional blanks around it and nothing else.
bool ParseInteger(const char* s, long long& out, bool allowSign) {
  while (*s == ' ' || *s == '\t') ++s;
  if (!allowSign && *s == '-') return false;
  char* end = nullptr;
  errno = 0;
  long long v = strtoll(s, &end, 10);
  if (end == s || errno == ERANGE) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end) return false;
  out = v;
  return true;
}

bool ParseReal(const char* s, double& out) {
  while (*s == ' ' || *s == '\t') ++s;
  char* end = nullptr;
  errno = 0;
  double v = strtod(s, &end);
  if (end == s || errno == ERANGE || !std::isfinite(v)) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end) return false;
  out = v;
  return true;
}

template <class T>
void TextInteger(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi, const char* prompt) {
  HWND hWnd = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    long long v = 0;
    if (!ParseInteger(WindowText(hWnd), v, lo < 0) || v < lo || v > hi) Refuse(pDX, prompt);
    value = static_cast<T>(v);
  } else {
    char text[32];
    snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    SetWindowTextIfChanged(hWnd, text);
  }
}

template <class T>
void TextReal(CDataExchange* pDX, int nIDC, T& value, int digits, double limit) {
  HWND hWnd = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    double v = 0;
    if (!ParseReal(WindowText(hWnd), v) || std::fabs(v) > limit) Refuse(pDX, kParseReal);
    value = static_cast<T>(v);
  } else {
    char text[64];
    snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
    SetWindowTextIfChanged(hWnd, text);
  }
}

// A value the control answers to one message and takes with another (in wParam, or in
// lParam with wParam TRUE for the controls that redraw on request).
void MessageValue(CDataExchange* pDX, int nIDC, int& value, UINT getMsg, UINT setMsg, bool inLParam) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessageA(hWnd, getMsg, 0, 0));
  else if (inLParam)
    ::SendMessageA(hWnd, setMsg, TRUE, value);
  else
    ::SendMessageA(hWnd, setMsg, static_cast<WPARAM>(value), 0);
}

template <class T>
void MinMaxInteger(CDataExchange* pDX, T value, T minVal, T maxVal) {
  if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
  char lo[32], hi[32];
  snprintf(lo, sizeof lo, "%lld", static_cast<long long>(minVal));
  snprintf(hi, sizeof hi, "%lld", static_cast<long long>(maxVal));
  CString prompt;
  prompt.Format(kIntRange, lo, hi);
  Refuse(pDX, prompt);
}

void MinMaxReal(CDataExchange* pDX, double value, double minVal, double maxVal, int digits) {
  if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
  char lo[64], hi[64];
  snprintf(lo, sizeof lo, "%.*g", digits, minVal);
  snprintf(hi, sizeof hi, "%.*g", digits, maxVal);
  CString prompt;
  prompt.Format(kRealRange, lo, hi);
  Refuse(pDX, prompt);
}
}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) { TextInteger(pDX, nIDC, value, 0, 255, kParseByte); }
void DDX_Text(CDataExchange* pDX, int nIDC, short& value) {
  TextInteger(pDX, nIDC, value, SHRT_MIN, SHRT_MAX, kParseInt);
}
void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { TextInteger(pDX, nIDC, value, INT_MIN, INT_MAX, kParseInt); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { TextInteger(pDX, nIDC, value, 0, UINT_MAX, kParseUInt); }
void DDX_Text(CDataExchange* pDX, int nIDC, float& value) { TextReal(pDX, nIDC, value, FLT_DIG, FLT_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) { TextReal(pDX, nIDC, value, DBL_DIG, DBL_MAX); }

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWnd = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = WindowText(hWnd);
  else
    SetWindowTextIfChanged(hWnd, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) { MessageValue(pDX, nIDC, value, BM_GETCHECK, BM_SETCHECK, false); }

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  // The group runs from nIDC to the next control that starts a group; controls in it
  // that are not radio buttons do not count.
  int index = 0;
  do {
    if (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessageA(hWnd, BM_GETCHECK, 0, 0) != 0) value = index;
      } else {
        ::SendMessageA(hWnd, BM_SETCHECK, index == value, 0);
      }
      ++index;
    }
    hWnd = ::GetWindow(hWnd, GW_HWNDNEXT);
  } while (hWnd && !(::GetWindowLongA(hWnd, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) { MessageValue(pDX, nIDC, index, CB_GETCURSEL, CB_SETCURSEL, false); }

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = WindowText(hWnd);
  } else if (::SendMessageA(hWnd, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value))) == CB_ERR) {
    ::SetWindowTextA(hWnd, value);  // not in the list: the edit part shows it (drop lists ignore it)
  }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = WindowText(hWnd);
    return;
  }
  LRESULT i = ::SendMessageA(hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value)));
  if (i == CB_ERR)
    ::SetWindowTextA(hWnd, value);
  else
    ::SendMessageA(hWnd, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) { MessageValue(pDX, nIDC, index, LB_GETCURSEL, LB_SETCURSEL, false); }

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value.Empty();
    auto i = static_cast<WPARAM>(::SendMessageA(hWnd, LB_GETCURSEL, 0, 0));
    if (static_cast<int>(i) == LB_ERR) return;
    int n = static_cast<int>(::SendMessageA(hWnd, LB_GETTEXTLEN, i, 0));
    if (n <= 0) return;
    ::SendMessageA(hWnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(value.GetBufferSetLength(n)));
    value.ReleaseBuffer();
  } else {
    ::SendMessageA(hWnd, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value)));
  }
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value) { MessageValue(pDX, nIDC, value, TBM_GETPOS, TBM_SETPOS, true); }

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWnd)) AfxThrowNotSupportedException();
}

void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) { MinMaxInteger(pDX, value, minVal, maxVal); }
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal) {
  MinMaxInteger(pDX, value, minVal, maxVal);
}
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) { MinMaxInteger(pDX, value, minVal, maxVal); }
void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minVal, LONG maxVal) { MinMaxInteger(pDX, value, minVal, maxVal); }
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) { MinMaxInteger(pDX, value, minVal, maxVal); }
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
  MinMaxInteger(pDX, value, minVal, maxVal);
}
void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal) {
  MinMaxReal(pDX, value, minVal, maxVal, FLT_DIG);
}
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal) {
  MinMaxReal(pDX, value, minVal, maxVal, DBL_DIG);
}

void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars) {
  if (!pDX->m_bSaveAndValidate) {
    if (pDX->m_hWndLastControl && pDX->m_bEditLastControl)
      ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
    return;
  }
  if (value.GetLength() <= nChars) return;
  CString prompt;
  prompt.Format(kStringSize, nChars);
  Refuse(pDX, prompt);
}
