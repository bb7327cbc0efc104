// CVexDoc: the document's menu commands: File Open, Save and Save As with the save
// routine they end in, the setting files, and the thumbnail strip's delete and pointer
// modes.
#include "VexDoc.h"

#include "LumoraResource.h"
#include "PathParts.h"
#include "VexFileDialog.h"
#include "VexJpegQuality.h"
#include "VexOverlaySelect.h"
#include "ui/MainFrame.h"

BEGIN_MESSAGE_MAP(CVexDoc, CDocument)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
ON_COMMAND(ID_LOAD_SETTING_FILE, OnLoadSettingFile)
ON_COMMAND(ID_SAVE_SETTING_FILE, OnSaveSettingFile)
ON_COMMAND(ID_DELETE_IMAGES, OnDeleteImages)
ON_COMMAND(ID_RETOUCH, OnRetouch)
ON_COMMAND(ID_ZOOM_RECT, OnLoupeCursor)
ON_COMMAND(ID_STANDARD_CURSOR, OnStandardCursor)
ON_COMMAND(ID_HAND_CURSOR, OnHandCursor)
END_MESSAGE_MAP()

namespace {

constexpr char kPictureFilter[] =
    "Jpeg Files(*.jpg;*.jpeg)|*.jpg;*.jpeg|Bmp Files(*.bmp)|*.bmp|Tiff Files(*.tif;*tiff)|*.tif;*tiff|"
    "All Files(*.jpg;*.jpeg;*.bmp;*.tif;*.tiff)|*.jpg;*.jpeg;*.bmp;*.tif;*.tiff||";
constexpr char kCaution[] = "Lumora Caution";
constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
constexpr DWORD kSaveFlags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
constexpr LONG kJpegFactors[3] = {2, 10, 35};  // Fine, Normal, Basic

CString Text(UINT id) {
  CString s;
  s.LoadString(id);
  return s;
}

CMainFrame* Frame() { return CMainFrame::Get(); }

// An open or a save still runs (its wait pumps the menu's keys): a second one started
// inside it would wait for the first, which waits for the window thread.
bool FrameBusy() {
  CMainFrame* frame = Frame();
  return frame && frame->IsBusy();
}

void EnableMain(BOOL on) {
  if (CMainFrame* frame = Frame()) frame->EnableFrame(on);
}

HWND MainWindow() {
  CWnd* main = AfxGetMainWnd();
  return main ? main->m_hWnd : nullptr;
}

void RefuseFormat() { ::MessageBoxA(MainWindow(), Text(62487), kCaution, MB_OK | MB_ICONEXCLAMATION); }

// Hands the chosen save to the frame's save flow.
void RunSave() {
  CMainFrame* frame = Frame();
  if (!frame) return;
  frame->SetBusy(TRUE);
  frame->SaveCurrentImage();
  frame->SetBusy(FALSE);
}

}  // namespace

void CVexDoc::OnDeleteImages() {
  if (CountSelectedImages() > 0) {
    EnableMain(FALSE);
    if (CMainFrame* frame = CMainFrame::Get()) frame->DeleteSelectedImages();
    EnableMain(TRUE);
    return;
  }
  ::MessageBoxA(nullptr, Text(62579), "Lumora Caution", MB_OK | MB_ICONERROR);
}

void CVexDoc::OnRetouch() {
  EnableMain(FALSE);
  if (CMainFrame* frame = CMainFrame::Get()) frame->RetouchImage();
  EnableMain(TRUE);
}

// The display reads the pointer mode again when it hears update 0x1000.
void CVexDoc::ChangePointerMode(SHORT mode) {
  EnableMain(FALSE);
  SetPointerMode(mode);
  if (CMainFrame* frame = CMainFrame::Get()) frame->BroadcastUpdate(0x1000, 0);
  EnableMain(TRUE);
}

LONG CVexDoc::ChooseOverlays() {
  const bool annotations = m_nAnnotationsDrawn != 0;
  const bool scale = m_nScaleDrawn != 0;
  if (!annotations && !scale) return 0;
  const bool opened = m_nImageState == 3 || m_nImageState == 4;
  CVexOverlaySelect dlg;
  if (!opened) {
    dlg.SetOverlays(annotations ? 1 : 0, scale ? 1 : 0);
    const int choice = dlg.DoModal();
    return choice < 0 ? 0 : choice;  // a dialog that could not open burns nothing in
  }
  if (!annotations) return 0;
  // An opened picture already carries its scale: only annotations are offered.
  dlg.SetOverlays(1, 0);
  const int choice = dlg.DoModal();
  return choice < 0 ? 0 : choice & 1;
}

void CVexDoc::SaveImage(const CString& path) {
  if (FileExists(path)) {
    CString question;
    question.Format(Text(62485), (LPCSTR)path);
    switch (::MessageBoxA(MainWindow(), question, Text(62486), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
      case IDYES:
        break;
      case IDNO:
        OnFileSaveAs();
        return;
      default:
        return;
    }
  }
  // A name the file output cannot write is refused before anything is asked.
  const int format = GetFormatFromExtension(path);
  if (format < 0) {
    RefuseFormat();
    return;
  }
  const LONG overlays = ChooseOverlays();
  LONG code = 6, quality = 0;
  if (format == 2) code = 3;
  if (format == 0) {
    CVexJpegQuality dlg;
    dlg.SetQuality(m_nFileOutputState >= 0 && m_nFileOutputState <= 2 ? m_nFileOutputState : 0);
    const int answer = dlg.DoModal();
    if (answer == -1) {
      if (CMainFrame* frame = Frame()) frame->ReportError(421, 2);
      return;
    }
    if (answer != IDOK) return;
    code = 98;
    quality = kJpegFactors[dlg.GetQuality()];
  }
  m_nOverlayChoice = overlays;
  SetSavePath(path, code, 24, quality);
  RunSave();
}

void CVexDoc::OnFileOpen() {
  if (FrameBusy()) return;
  CVexFileDialog dlg(TRUE, nullptr, nullptr, kOpenFlags, kPictureFilter, nullptr, 0, static_cast<int>(m_nFileFormat));
  const CString title = Text(62493);
  dlg.m_ofn.lpstrTitle = title;
  PrepareSaveFolder();
  dlg.m_ofn.lpstrInitialDir = m_strSaveFolderPath;
  ClearLastError();
  if (dlg.DoModal() != IDOK) return;
  CMainFrame* frame = Frame();
  if (!frame) return;
  frame->SetBusy(TRUE);
  const bool live = frame->IsLiveRunning() == 1;
  if (live) frame->StopLive();
  SetLoadPath(dlg.GetResultPath());
  frame->RedisplayImage();
  if (GetLastErrorValue() == 1) frame->ReportError(static_cast<SHORT>(GetLastErrorType()), static_cast<SHORT>(GetLastErrorDetail()));
  if (live) frame->StartLive();
  frame->SetBusy(FALSE);
}

void CVexDoc::OnFileSave() {
  if (FrameBusy()) return;
  EnableMain(FALSE);
  switch (m_nImageState) {
    case 0:
      ::MessageBoxA(nullptr, Text(62578), kCaution, MB_OK | MB_ICONERROR);
      break;
    case 1:
      if (m_bAutoSave != 1) MakeAutoSaveName();
      SaveImage(m_strNextSavePath);
      break;
    case 2:
    case 4:
      SaveImage(m_strNextSavePath);
      break;
    case 3:
      SaveImage(m_strLoadPath);
      break;
  }
  EnableMain(TRUE);
}

void CVexDoc::OnFileSaveAs() {
  if (FrameBusy()) return;
  if (m_nImageState == 0) {
    ::MessageBoxA(nullptr, Text(62578), kCaution, MB_OK | MB_ICONERROR);
    return;
  }
  // A save names a file that need not exist yet: the folder must, the file may be new.
  CVexFileDialog dlg(FALSE, nullptr, nullptr, kSaveFlags, kPictureFilter, nullptr, 0, static_cast<int>(m_nFileFormat));
  const CString title = Text(62494);
  dlg.m_ofn.lpstrTitle = title;
  PrepareSaveFolder();
  dlg.m_ofn.lpstrInitialDir = m_strSaveFolderPath;
  dlg.m_ofn.nFilterIndex = m_nFileFormat == 3 ? 2 : m_nFileFormat == 4 ? 3 : 1;
  dlg.SetJpegQuality(m_nFileOutputState >= 0 && m_nFileOutputState <= 2 ? m_nFileOutputState : 0);
  if (dlg.DoModal() != IDOK) return;
  const CString path = dlg.GetResultPath();
  LONG code, quality = 0;
  switch (dlg.GetFileKind()) {
    case 0:
      code = 98;
      quality = kJpegFactors[dlg.GetJpegQuality()];
      break;
    case 1:
      code = 6;
      break;
    case 2:
      code = 3;
      break;
    default:  // the dialog accepts picture names only
      return;
  }
  m_nOverlayChoice = ChooseOverlays();
  SetSavePath(path, code, 24, quality);
  RunSave();
}

void CVexDoc::RunSettingFileDialog(BOOL load) {
  CString folder, name;
  if (m_strSettingFile.IsEmpty()) {
    folder = GetProgramFolder();
  } else {
    const PathParts parts = SplitPath(m_strSettingFile);
    folder = parts.folder;
    name = parts.base + parts.extension;
  }
  LPCSTR filter = load ? "Setting Files(*.vex)|*.VEX|All Files(*.*)|*.*||" : "Setting Files(*.vex)|*.vex|All Files(*.*)|*.*||";
  const DWORD flags = load ? kOpenFlags : kSaveFlags | OFN_OVERWRITEPROMPT;
  CVexFileDialog dlg(load, "vex", name.IsEmpty() ? nullptr : (LPCSTR)name, flags, filter, nullptr, 1, 0);
  const CString title = Text(load ? 62461 : 62462);
  dlg.m_ofn.lpstrTitle = title;
  dlg.m_ofn.lpstrInitialDir = folder;
  if (dlg.DoModal() != IDOK) return;
  if (!load) {
    SaveSettingFile(dlg.GetResultPath());
    return;
  }
  CMainFrame* frame = Frame();
  if (frame) frame->SetSettingLoadMode(1);
  m_strSettingFile = dlg.GetResultPath();
  LoadSettingFile(m_strSettingFile);
  if (frame) frame->SetSettingLoadMode(0);
}

