// CVexRetouchTab: what the four pages of the retouch dialog share. A page is a modeless
// child of the dialog's tab control; it keeps its values and tells the dialog what
// happened by a message with a code. Enter and Esc inside a page do nothing.
//
// A value page binds each value to a slider and, for most, an edit field: dragging
// rewrites the field and notifies only when the slider is let go; typing notifies for
// every text that is a number, held to the field's bounds and shown again.
#pragma once
#include <afxwin.h>

#include <vector>

class CVexRetouchDlg;

class CVexRetouchTab : public CDialog {
 public:
  CVexRetouchTab(UINT templateId, CVexRetouchDlg* dialog, UINT message);
  BOOL Create(CWnd* parent) { return CDialog::Create(m_nTemplateId, parent); }
  // Sends the dialog this page's message with `code`; the dialog's answer.
  LRESULT Notify(int code);

 protected:
  struct ValueField {
    int sliderId = 0, editId = 0;  // editId 0: a slider alone
    int rangeMin = 0, rangeMax = 0, tick = 0;
    double typedMin = 0, typedMax = 0;  // bounds of typed values
    int code = 0;
    int* number = nullptr;     // an integer value: the slider position itself
    float* decimal = nullptr;  // a decimal value: slider position / 100, shown "%5.2f"
  };
  void AddField(const ValueField& field) { m_fields.push_back(field); }
  // Slider position and field text from the value.
  void ShowField(const ValueField& field);
  void ShowFields();

  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* bar);
  afx_msg void OnFieldChange(UINT id);

  CVexRetouchDlg* m_pDialog;

 private:
  void WriteText(const ValueField& field);
  const ValueField* FindField(int sliderId, int editId) const;

  UINT m_nTemplateId;
  UINT m_nMessage;
  std::vector<ValueField> m_fields;
  // Set while the page writes a field itself, so that its own text is not taken as typed.
  bool m_bWriting = false;
  DECLARE_MESSAGE_MAP()
};

// The decimal value's hundredths, as its slider shows them. The small allowance keeps a
// value that came from position p at p, which float rounding would otherwise lower.
int DecimalPosition(float value);
