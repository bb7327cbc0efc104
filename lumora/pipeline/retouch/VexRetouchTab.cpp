#include "VexRetouchTab.h"

#include <algorithm>
#include <cstdlib>

#include "pipeline/retouch/VexRetouchDlg.h"

int DecimalPosition(float value) { return static_cast<int>(value * 100.0f + 0.001f); }

BEGIN_MESSAGE_MAP(CVexRetouchTab, CDialog)
  ON_WM_HSCROLL()
  ON_CONTROL_RANGE(EN_CHANGE, 1000, 1099, OnFieldChange)
END_MESSAGE_MAP()

CVexRetouchTab::CVexRetouchTab(UINT templateId, CVexRetouchDlg* dialog, UINT message)
    : CDialog(templateId), m_pDialog(dialog), m_nTemplateId(templateId), m_nMessage(message) {}

LRESULT CVexRetouchTab::Notify(int code) {
  if (!m_pDialog || !m_pDialog->m_hWnd) return 0;
  return ::SendMessageA(m_pDialog->m_hWnd, m_nMessage, static_cast<WPARAM>(code), 0);
}

BOOL CVexRetouchTab::OnInitDialog() {
  CDialog::OnInitDialog();
  for (const ValueField& f : m_fields) {
    SendDlgItemMessage(f.sliderId, TBM_SETRANGEMIN, FALSE, f.rangeMin);
    SendDlgItemMessage(f.sliderId, TBM_SETRANGEMAX, TRUE, f.rangeMax);
    SendDlgItemMessage(f.sliderId, TBM_SETTICFREQ, static_cast<WPARAM>(f.tick));
    SendDlgItemMessage(f.sliderId, TBM_SETPAGESIZE, 0, f.tick);
  }
  ShowFields();
  return TRUE;
}

const CVexRetouchTab::ValueField* CVexRetouchTab::FindField(int sliderId, int editId) const {
  for (const ValueField& f : m_fields)
    if ((sliderId && f.sliderId == sliderId) || (editId && f.editId == editId)) return &f;
  return nullptr;
}

void CVexRetouchTab::WriteText(const ValueField& field) {
  if (!field.editId || !m_hWnd) return;
  CString text;
  if (field.decimal) text.Format("%5.2f", *field.decimal);
  else text.Format("%d", *field.number);
  CString shown;
  GetDlgItemText(field.editId, shown);
  if (shown == text) return;  // the caret stays where the user types
  m_bWriting = true;
  SetDlgItemText(field.editId, text);
  m_bWriting = false;
}

void CVexRetouchTab::ShowField(const ValueField& field) {
  if (!m_hWnd) return;
  const int position = field.decimal ? DecimalPosition(*field.decimal) : *field.number;
  SendDlgItemMessage(field.sliderId, TBM_SETPOS, TRUE, position);
  WriteText(field);
}

void CVexRetouchTab::ShowFields() {
  for (const ValueField& f : m_fields) ShowField(f);
}

void CVexRetouchTab::OnHScroll(UINT code, UINT, CScrollBar* bar) {
  const ValueField* field = bar ? FindField(::GetDlgCtrlID(bar->m_hWnd), 0) : nullptr;
  if (!field) return;
  const int position = static_cast<int>(SendDlgItemMessage(field->sliderId, TBM_GETPOS));
  if (field->decimal) *field->decimal = static_cast<float>(position) / 100.0f;
  else *field->number = position;
  WriteText(*field);
  if (code == TB_ENDTRACK) Notify(field->code);
}

void CVexRetouchTab::OnFieldChange(UINT id) {
  const ValueField* field = m_bWriting ? nullptr : FindField(0, static_cast<int>(id));
  if (!field) return;
  CString text;
  GetDlgItemText(field->editId, text);
  if (text.IsEmpty() || text == "." || text == "-") return;  // a number may follow
  if (field->decimal) {
    const double value = std::strtod(text, nullptr);
    *field->decimal = static_cast<float>(std::clamp(value, field->typedMin, field->typedMax));
  } else {
    // strtol saturates, so a very long number is held at the bound like any other.
    const long value = std::strtol(text, nullptr, 10);
    *field->number = static_cast<int>(std::clamp<long>(value, static_cast<long>(field->typedMin),
                                                       static_cast<long>(field->typedMax)));
  }
  ShowField(*field);
  Notify(field->code);
}
