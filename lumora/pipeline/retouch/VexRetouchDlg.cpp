// CVexRetouchDlg: building, opening, the menu commands, the crop and the selection,
// Reload, the page change, OK and Cancel.
#include "VexRetouchDlg.h"

#include <algorithm>
#include <new>
#include <utility>

#include "control/VexAppIcon.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "pipeline/retouch/VexRetouchCalc.h"
#include "pipeline/retouch/VexRetouchPreviewBatch.h"
#include "pipeline/retouch/VexRetouchProcess.h"
#include "pipeline/retouch/VexRetouchTabColor.h"
#include "pipeline/retouch/VexRetouchTabEnhance.h"
#include "pipeline/retouch/VexRetouchTabSize.h"
#include "pipeline/retouch/VexRetouchTabWBalance.h"

namespace {

constexpr int kErrorType = 241;
constexpr UINT kAskApply = 62472, kCaption = 62473, kAskListFull = 62474, kAskGrayscale = 62475;
constexpr UINT kCropTooSmall = 62481, kFirstTabText = 62488, kSizeFormat = 62492;

CVexRetouchDlg::PartFailHook g_partFailHook = nullptr;

template <class T, class... Args>
std::unique_ptr<T> MakePart(int part, Args&&... args) {
  if (g_partFailHook && g_partFailHook(part)) throw std::bad_alloc();
  return std::make_unique<T>(std::forward<Args>(args)...);
}

}  // namespace

void CVexRetouchDlg::SetPartFailHook(PartFailHook hook) { g_partFailHook = hook; }

BEGIN_MESSAGE_MAP(CVexRetouchDlg, CDialog)
  ON_COMMAND(32771, OnRotate90CW)
  ON_COMMAND(32772, OnRotate90CCW)
  ON_COMMAND(32774, OnRotate180)
  ON_COMMAND(32776, OnFlipHorizontal)
  ON_COMMAND(32778, OnFlipVertical)
  ON_COMMAND(32779, OnGrayscale)
  ON_COMMAND(32781, OnNegative)
  ON_COMMAND(32783, OnCrop)
  ON_COMMAND(32786, OnUndo)
  ON_BN_CLICKED(1031, OnReload)
  ON_NOTIFY(TCN_SELCHANGE, 1030, OnSelchangeTab)
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(kEnhanceMessage, OnEnhanceNotify)
  ON_MESSAGE(kColorMessage, OnColorNotify)
  ON_MESSAGE(kSizeMessage, OnSizeNotify)
  ON_MESSAGE(kWBalanceMessage, OnWBalanceNotify)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CVexRetouchDlg, CDialog)
  ON_EVENT(CVexRetouchDlg, 1029, -605, OnMouseDownPreview, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
  ON_EVENT(CVexRetouchDlg, 1029, -606, OnMouseMovePreview, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
  ON_EVENT(CVexRetouchDlg, 1029, -607, OnMouseUpPreview, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
  ON_EVENT(CVexRetouchDlg, 1029, 16, OnRegionDone, VTS_NONE)
END_EVENTSINK_MAP()

CVexRetouchDlg::CVexRetouchDlg(CVexRetouchProcess* stage, CLead* stageControl, LONG unedited)
    : CDialog(IDD, stage), m_pStage(stage), m_pStageControl(stageControl), m_lUnedited(unedited) {
  BuildParts();
}

CVexRetouchDlg::~CVexRetouchDlg() = default;

void CVexRetouchDlg::BuildParts() {
  int part = 1;
  try {
    m_pCalc = MakePart<CVexRetouchCalc>(part);
    m_pEnhance = MakePart<CVexRetouchTabEnhance>(++part, this);
    m_pColor = MakePart<CVexRetouchTabColor>(++part, this);
    m_pSize = MakePart<CVexRetouchTabSize>(++part, this);
    m_pWBalance = MakePart<CVexRetouchTabWBalance>(++part, this);
  } catch (const std::bad_alloc&) {
    ReleaseParts();
    if (m_pStage) m_pStage->SetConstructionError(static_cast<SHORT>(part));
    return;
  }
  m_nSampling = 0;
  m_bPending = 0;
  m_nSizeChoice = 0;
  m_nCropState = m_nBandState = -1;
  m_nPage = kEnhancePage;
  m_bBuilt = 1;
}

void CVexRetouchDlg::ReleaseParts() {
  m_pWBalance.reset();
  m_pSize.reset();
  m_pColor.reset();
  m_pEnhance.reset();
  m_pCalc.reset();
}

int CVexRetouchDlg::DoModal() {
  if (!m_bBuilt || !m_pStageControl) return IDCANCEL;
  const int result = CDialog::DoModal();
  // The parts go with the dialog on every way of closing, a failed edit's included.
  ReleaseParts();
  return result;
}

void CVexRetouchDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, 1030, m_tab);
  DDX_Control(pDX, 1029, m_preview);
}

BOOL CVexRetouchDlg::OnInitDialog() {
  BeginWaitCursor();
  CDialog::OnInitDialog();
  SetAppIcon(*this);

  m_preview.SetAppearance(0);
  m_preview.SetAppearance(0);
  m_preview.SetBorderStyle(0);
  m_preview.SetBackColor(0xFFFFFF);
  m_preview.SetMode6(1);
  m_preview.SetMode19(0);
  m_preview.SetAutoRepaint(TRUE);
  m_preview.SetAutoSize(FALSE);
  m_preview.SetFlag57(TRUE);
  m_preview.SetPaintSizeMode(3);
  m_preview.SetFlag275(FALSE);
  m_preview.SetValue146(0);
  m_preview.SetBitmap(m_pStageControl->GetBitmap());
  m_preview.SetFlag20(FALSE);
  // The preview's geometry is in pixels, whatever the template's units give.
  m_preview.MoveWindow(10, 10, 640, 512);
  if (CWnd* frame = GetDlgItem(1145)) frame->MoveWindow(8, 8, 644, 516);
  ReadFullView();

  for (int i = 0; i < 4; ++i) {
    CString text;
    text.LoadString(kFirstTabText + i);
    m_tab.InsertItem(i, text);
  }
  CRect area;
  m_tab.GetItemRect(0, &area);
  m_tab.AdjustRect(FALSE, &area);
  CVexRetouchTab* pages[] = {m_pEnhance.get(), m_pColor.get(), m_pSize.get(), m_pWBalance.get()};
  for (int i = 0; i < 4; ++i) {
    if (!pages[i]->Create(&m_tab)) continue;
    pages[i]->SetWindowPos(nullptr, area.left, area.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pages[i]->ShowWindow(i == kEnhancePage ? SW_SHOW : SW_HIDE);
  }

  m_pEnhance->SetStartValues();
  m_pColor->SetStartValues();
  const int width = static_cast<int>(m_pStageControl->GetImageWidth());
  const int height = static_cast<int>(m_pStageControl->GetImageHeight());
  m_pSize->m_strCurrentSize = m_pSize->m_strNewSize = SizeText(width, height);
  m_pSize->m_nSizeIndex = 0;
  if (m_pSize->m_hWnd) m_pSize->UpdateData(FALSE);
  if (m_pWBalance->m_hWnd) m_pWBalance->SetStartValues();
  std::fill(std::begin(m_nLevel), std::end(m_nLevel), -1);
  m_nBalanceMode = m_nSampleTaken = -1;

  EndWaitCursor();
  return TRUE;
}

// ---- helpers ---------------------------------------------------------------------------

float CVexRetouchDlg::GetViewScale() {
  const float width = m_pStageControl->GetImageWidth(), height = m_pStageControl->GetImageHeight();
  return std::min(640.0f / width, 512.0f / height);
}

void CVexRetouchDlg::ReadFullView() {
  m_fViewWidth = m_preview.GetDisplayWidth();
  m_fViewHeight = m_preview.GetDisplayHeight();
  m_fViewLeft = m_preview.GetDisplayLeft();
  m_fViewTop = m_preview.GetDisplayTop();
}

void CVexRetouchDlg::RefreshPreview() {
  m_preview.SetValue146(0);
  m_preview.SetFlag272(FALSE);
  m_preview.SetBitmap(m_pStageControl->GetBitmap());
  if (m_nCropState == 1)
    m_pCalc->SetViewRect(&m_preview, m_fCropLeft, m_fCropTop, m_fCropWidth, m_fCropHeight);
  else
    m_pCalc->SetViewRect(&m_preview, m_fViewLeft, m_fViewTop, m_fViewWidth, m_fViewHeight);
}

CString CVexRetouchDlg::SizeText(int width, int height) {
  const int bits = m_pStageControl->GetBitsPerPixel();
  const double megabytes = static_cast<double>(static_cast<long long>(width) * height * bits) / 8 / 1024 / 1024;
  CString format, text;
  format.LoadString(kSizeFormat);
  text.Format(format, width, height, megabytes);
  return text;
}

void CVexRetouchDlg::ShowNewSize(int width, int height) {
  if (!m_pSize) return;
  m_pSize->m_strNewSize = SizeText(width, height);
  if (m_pSize->m_hWnd) m_pSize->SetDlgItemText(1019, m_pSize->m_strNewSize);
}

void CVexRetouchDlg::ShowStageSize() {
  const int width = static_cast<int>(m_pStageControl->GetImageWidth());
  const int height = static_cast<int>(m_pStageControl->GetImageHeight());
  // The picture as it is now: a turn swaps its sides, a crop made before it shrinks it.
  if (m_pSize) {
    m_pSize->m_strCurrentSize = SizeText(width, height);
    if (m_pSize->m_hWnd) m_pSize->SetDlgItemText(1018, m_pSize->m_strCurrentSize);
  }
  ShowNewSize(width, height);
}

int CVexRetouchDlg::Ask(UINT textId, UINT type) {
  CString text, caption;
  text.LoadString(textId);
  caption.LoadString(kCaption);
  return ::MessageBoxA(m_hWnd, text, caption, type);
}

bool CVexRetouchDlg::RecordEdit(const std::function<int(CVexDoc&)>& queue) {
  if (!m_pDoc || queue(*m_pDoc) != -1) return true;
  return Ask(kAskListFull, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void CVexRetouchDlg::Fail(int detail) {
  if (m_pErrorControl) m_pErrorControl->ReportError(kErrorType, detail);
  m_bFailed = true;
  EndDialog(IDCANCEL);
}

// ---- menu commands ---------------------------------------------------------------------

void CVexRetouchDlg::OnRotate90CW() { TurnOrFlip(Turn::kCW); }
void CVexRetouchDlg::OnRotate90CCW() { TurnOrFlip(Turn::kCCW); }
void CVexRetouchDlg::OnRotate180() { TurnOrFlip(Turn::k180); }
void CVexRetouchDlg::OnFlipHorizontal() { TurnOrFlip(Turn::kFlipH); }
void CVexRetouchDlg::OnFlipVertical() { TurnOrFlip(Turn::kFlipV); }

void CVexRetouchDlg::TurnOrFlip(Turn turn) {
  if (!m_pCalc) return;
  ResolvePendingCrop();
  const bool go = RecordEdit([turn](CVexDoc& doc) {
    switch (turn) {
      case Turn::kCW: return doc.QueueRotate90CW();
      case Turn::kCCW: return doc.QueueRotate90CCW();
      case Turn::k180: return doc.QueueRotate180();
      case Turn::kFlipH: return doc.QueueFlipHorizontal();
      case Turn::kFlipV: return doc.QueueFlipVertical();
    }
    return 0;
  });
  if (!go) return;
  BeginWaitCursor();
  auto apply = [&](CLead* lead) {
    switch (turn) {
      case Turn::kCW: return m_pCalc->Rotate(lead, 90, 1, m_preview.GetBackColor());
      case Turn::kCCW: return m_pCalc->Rotate(lead, -90, 1, m_preview.GetBackColor());
      case Turn::k180: return m_pCalc->Rotate(lead, 180, 1, m_preview.GetBackColor());
      case Turn::kFlipH: return m_pCalc->FlipHorizontal(lead);
      case Turn::kFlipV: return m_pCalc->FlipVertical(lead);
    }
    return 0;
  };
  // Error details: preview, then stage control, of each command.
  static constexpr int kDetails[][2] = {{14, 15}, {16, 17}, {18, 19}, {20, 21}, {22, 23}};
  const int* details = kDetails[static_cast<int>(turn)];
  if (apply(&m_preview) != 0) Fail(details[0]);
  if (apply(m_pStageControl) != 0) Fail(details[1]);
  if (turn == Turn::kCW || turn == Turn::kCCW) ReadFullView();
  ClearSelection();
  EndWaitCursor();
}

void CVexRetouchDlg::OnGrayscale() {
  if (!m_pCalc) return;
  // The list keeps the entry even when the answer is No.
  if (!RecordEdit([](CVexDoc& doc) { return doc.QueueGrayscale(); })) return;
  if (Ask(kAskGrayscale, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  BeginWaitCursor();
  if (m_pCalc->Grayscale(&m_preview, 8) != 0) Fail(24);
  if (m_pCalc->Grayscale(m_pStageControl, 8) != 0) Fail(25);
  EndWaitCursor();
}

void CVexRetouchDlg::OnNegative() {
  if (!m_pCalc) return;
  if (!RecordEdit([](CVexDoc& doc) { return doc.QueueNegative(); })) return;
  BeginWaitCursor();
  if (m_pCalc->Negative(&m_preview) != 0) Fail(26);
  if (m_pCalc->Negative(m_pStageControl) != 0) Fail(27);
  EndWaitCursor();
}

// ---- crop and selection ----------------------------------------------------------------

BOOL CVexRetouchDlg::CheckCropSize() {
  const float scale = GetViewScale();
  return m_fCropWidth / scale >= 100 || m_fCropHeight / scale >= 100;
}

void CVexRetouchDlg::OnCrop() {
  if (!m_pCalc || m_nBandState != 1 || m_nBalanceMode != -1) return;
  m_nCropState = 1;
  m_fCropLeft = m_preview.GetRegionLeft();
  m_fCropTop = m_preview.GetRegionTop();
  m_fCropWidth = m_preview.GetRegionWidth();
  m_fCropHeight = m_preview.GetRegionHeight();
  if (CheckCropSize()) {
    m_preview.SetRegionEnabled(FALSE);
    m_pCalc->SetViewRect(&m_preview, m_fCropLeft, m_fCropTop, m_fCropWidth, m_fCropHeight);
    const float scale = GetViewScale();
    ShowNewSize(static_cast<int>(static_cast<int>(m_fCropWidth) / scale),
                static_cast<int>(static_cast<int>(m_fCropHeight) / scale));
  } else {
    AfxMessageBox(kCropTooSmall, MB_OK);
    m_nCropState = -1;
    m_pCalc->SetViewRect(&m_preview, m_fViewLeft, m_fViewTop, m_fViewWidth, m_fViewHeight);
    m_preview.SetRegionRect(0, 0, 0, 0);
  }
  m_nBandState = -1;
}

void CVexRetouchDlg::ApplyCrop() {
  const float scale = GetViewScale();
  m_pCalc->Crop(m_pStageControl, m_fCropLeft / scale, m_fCropTop / scale, m_fCropWidth / scale, m_fCropHeight / scale);
  m_nCropState = -1;
}

void CVexRetouchDlg::ResolvePendingCrop() {
  if (m_nCropState == 1) {
    const float scale = GetViewScale();
    const bool full = m_pDoc && m_pDoc->QueueCrop(m_fCropLeft / scale, m_fCropTop / scale, m_fCropWidth / scale,
                                                  m_fCropHeight / scale) == -1;
    if (Ask(full ? kAskListFull : kAskApply, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) ApplyCrop();
  }
  RefreshPreview();
}

void CVexRetouchDlg::ClearSelection() {
  if (!m_pCalc) return;
  m_nCropState = -1;
  m_nBandState = -1;
  m_pCalc->SetViewRect(&m_preview, m_fViewLeft, m_fViewTop, m_fViewWidth, m_fViewHeight);
  m_preview.SetRegionRect(0, 0, 0, 0);
  ShowStageSize();
}

void CVexRetouchDlg::OnReload() {
  if (!m_pCalc) return;
  if (m_pDoc) m_pDoc->ClearRetouchList();
  for (CLead* lead : {m_pStageControl, &m_preview}) {
    lead->SetValue146(0);
    lead->SetFlag272(FALSE);
    lead->SetBitmap(m_lUnedited);
  }
  // After a quarter turn the view of the unedited picture is no longer the one kept.
  ReadFullView();
  m_preview.SetAutoRepaint(FALSE);
  ResetEnhance();
  ResetColor();
  SizeCode(CVexRetouchTabSize::kReset);
  ResetWBalance();
  m_preview.SetAutoRepaint(TRUE);
  m_bPending = 0;
  ClearSelection();
}

// ---- page change, OK and Cancel --------------------------------------------------------

void CVexRetouchDlg::OnSelchangeTab(NMHDR*, LRESULT* result) {
  const int chosen = m_tab.GetCurSel();
  CVexRetouchTab* pages[] = {m_pEnhance.get(), m_pColor.get(), m_pSize.get(), m_pWBalance.get()};
  for (CVexRetouchTab* page : pages)
    if (page && page->m_hWnd) page->ShowWindow(SW_HIDE);
  if (chosen >= 0 && chosen < 4 && pages[chosen] && pages[chosen]->m_hWnd) pages[chosen]->ShowWindow(SW_SHOW);
  if (chosen == kWBalancePage) {
    std::fill(std::begin(m_nLevel), std::end(m_nLevel), -1);
    m_nBalanceMode = m_nSampleTaken = -1;
  }
  if (m_bPending == 1 && m_pCalc) {
    const int answer = Ask(kAskApply, MB_OKCANCEL | MB_ICONQUESTION);
    PreviewBatch batch(this);
    if (answer == IDOK) ApplyPendingPage(m_nPage);
    else ResetPendingPage(m_nPage);
    m_bPending = 0;
  }
  m_nPage = chosen;
  if (result) *result = 0;
}

void CVexRetouchDlg::ApplyPendingPage(int page) {
  switch (page) {
    case kEnhancePage: EnhanceCode(CVexRetouchTabEnhance::kApply); break;
    case kColorPage: ColorCode(CVexRetouchTabColor::kApply); break;
    case kWBalancePage: WBalanceCode(CVexRetouchTabWBalance::kApply); break;
    default: break;  // a chosen size waits for OK
  }
}

void CVexRetouchDlg::ResetPendingPage(int page) {
  switch (page) {
    case kEnhancePage: EnhanceCode(CVexRetouchTabEnhance::kReset); break;
    case kColorPage: ColorCode(CVexRetouchTabColor::kReset); break;
    case kSizePage: SizeCode(CVexRetouchTabSize::kReset); break;
    case kWBalancePage: WBalanceCode(CVexRetouchTabWBalance::kReset); break;
    default: break;
  }
}

void CVexRetouchDlg::ApplySize() {
  float factor = 1.0f;
  switch (m_nSizeChoice) {
    case 0: case -1: return;
    case 1: factor = 0.75f; break;
    case 2: factor = 0.5f; break;
    case 3: factor = 0.25f; break;
    default: break;
  }
  if (!RecordEdit([factor](CVexDoc& doc) { return doc.QueueResize(factor); })) return;
  if (m_pCalc->Resize(m_pStageControl, factor) != 0 && m_pErrorControl) m_pErrorControl->ReportError(kErrorType, 11);
}

void CVexRetouchDlg::OnOK() {
  if (!m_pCalc) return;
  int answer = 0;  // none asked
  if (m_bPending == 1) {
    answer = Ask(kAskApply, MB_OKCANCEL | MB_ICONQUESTION);
    PreviewBatch batch(this);
    if (answer == IDOK) ApplyPendingPage(m_nPage);
    else ResetPendingPage(m_nPage);
    m_bPending = 0;
  }
  // A failed Apply has ended the dialog with IDCANCEL; OK must not turn it into success.
  if (m_bFailed) return;
  if (m_nCropState == 1) {
    const float scale = GetViewScale();
    const bool full = m_pDoc && m_pDoc->QueueCrop(m_fCropLeft / scale, m_fCropTop / scale, m_fCropWidth / scale,
                                                  m_fCropHeight / scale) == -1;
    if (full) {
      if (Ask(kAskListFull, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) ApplyCrop();
    } else if (answer == IDOK) {
      ApplyCrop();
    } else if (answer == 0 && Ask(kAskApply, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
      ApplyCrop();
    }
  }
  ApplySize();
  EndDialog(IDOK);
}

void CVexRetouchDlg::OnCancel() {
  m_pStageControl->SetValue146(0);
  m_pStageControl->SetFlag272(FALSE);
  m_pStageControl->SetBitmap(m_lUnedited);
  if (m_pDoc) m_pDoc->ClearRetouchList();
  EndDialog(IDCANCEL);
}
