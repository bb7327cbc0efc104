// CAnnObj: one annotation drawn over an image. CAnnObjInfo is its complete editable
// state, which the document also uses to describe the scale bar.
#pragma once
#include <afxwin.h>

#include <vector>

class CAnnObj {
 public:
  class CAnnObjInfo {
   public:
    CAnnObjInfo();

    void ClearPoints() {
      m_points.clear();
      m_rubberPoints.clear();
    }
    // Tenths of a point; the font height follows at 96 pixels per inch.
    void SetFontSize(int tenths);
    void SetPenColor(COLORREF c) { m_penColor = c; }
    void SetFillColor(COLORREF c) { m_fillColor = c; }
    void SetFill(int on) { m_fill = on; }
    void SetPenWidth(int w) { m_penWidth = w; }
    void SetStyleCode(int code) { m_styleCode = code; }
    void SetLineType(int type) { m_lineType = type; }
    void SetSquare(int on) { m_square = on; }

    int m_flag = 0;
    std::vector<CPoint> m_points;
    std::vector<CPoint> m_rubberPoints;
    double m_cos = 1.0, m_sin = 0.0;
    CPoint m_origin{0, 0};
    CString m_label;
    LOGFONTA m_font{};
    int m_penWidth = 1;
    int m_styleCode = 0;
    int m_lineType = 0;
    int m_square = 0;
    COLORREF m_penColor = 0;
    COLORREF m_fillColor = 0;
    int m_fill = 0;
    CPoint m_scroll{0, 0};
    int m_divide = 0;
    double m_zoom = 1.0;
  };
};
