// CVexRetouchDlg: what the dialog does for each page's notification, and the W.Balance
// sample.
#include <algorithm>

#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "pipeline/retouch/VexRetouchCalc.h"
#include "pipeline/retouch/VexRetouchDlg.h"
#include "pipeline/retouch/VexRetouchPreviewBatch.h"
#include "pipeline/retouch/VexRetouchTabColor.h"
#include "pipeline/retouch/VexRetouchTabEnhance.h"
#include "pipeline/retouch/VexRetouchTabSize.h"
#include "pipeline/retouch/VexRetouchTabWBalance.h"

LRESULT CVexRetouchDlg::OnEnhanceNotify(WPARAM code, LPARAM) {
  if (!m_pCalc) return 0;
  PreviewBatch batch(this);
  return EnhanceCode(static_cast<int>(code));
}

LRESULT CVexRetouchDlg::OnColorNotify(WPARAM code, LPARAM) {
  if (!m_pCalc) return 0;
  PreviewBatch batch(this);
  return ColorCode(static_cast<int>(code));
}

LRESULT CVexRetouchDlg::OnSizeNotify(WPARAM code, LPARAM) {
  if (!m_pCalc) return 0;
  PreviewBatch batch(this);
  return SizeCode(static_cast<int>(code));
}

LRESULT CVexRetouchDlg::OnWBalanceNotify(WPARAM code, LPARAM) {
  if (!m_pCalc) return 0;
  PreviewBatch batch(this);
  return WBalanceCode(static_cast<int>(code));
}

// ---- Enhance: brightness, contrast and gamma are tried as display settings of the
// preview, sharpness as a real change of its picture.

void CVexRetouchDlg::ResetEnhance() {
  m_bPending = 0;
  RefreshPreview();
  m_pEnhance->SetStartValues();
  m_pCalc->PreviewBrightness(&m_preview, 0);
  m_pCalc->PreviewContrast(&m_preview, 0);
  m_pCalc->PreviewGamma(&m_preview, 100);
}

LRESULT CVexRetouchDlg::EnhanceCode(int code) {
  using Page = CVexRetouchTabEnhance;
  Page& page = *m_pEnhance;
  if (m_pDoc) m_pDoc->ClearLastError();
  switch (code) {
    case Page::kBrightness:
    case Page::kContrast:
    case Page::kGamma:
    case Page::kSharpness: {
      m_bPending = 1;
      RefreshPreview();
      int result = 0;
      if (code == Page::kBrightness) result = m_pCalc->PreviewBrightness(&m_preview, page.m_nBrightness);
      else if (code == Page::kContrast) result = m_pCalc->PreviewContrast(&m_preview, page.m_nContrast);
      else if (code == Page::kGamma) result = m_pCalc->PreviewGamma(&m_preview, page.GetGamma100());
      if (code == Page::kSharpness || page.m_nSharpness != 0) result = m_pCalc->Sharpen(&m_preview, page.m_nSharpness);
      if (result != 0) {
        if (m_pErrorControl) m_pErrorControl->ReportError(241, 2);
        return -1;  // a trial that failed; the dialog stays open
      }
      return 0;
    }
    case Page::kReset:
      ResetEnhance();
      return 0;
    case Page::kApply: {
      const bool go = RecordEdit([&page](CVexDoc& doc) {
        return doc.QueueEnhance(page.m_nBrightness, page.m_nContrast, page.m_fGamma, page.m_nSharpness);
      });
      if (!go) return 0;  // the page stays as it is
      m_bPending = 0;
      if (m_pCalc->Sharpen(m_pStageControl, page.m_nSharpness) != 0) Fail(3);
      if (m_pCalc->Brightness(m_pStageControl, page.m_nBrightness) != 0) Fail(4);
      if (m_pCalc->Contrast(m_pStageControl, page.m_nContrast) != 0) Fail(5);
      if (m_pCalc->Gamma(m_pStageControl, page.GetGamma100()) != 0) Fail(6);
      ResetEnhance();
      return 0;
    }
    default:
      return 0;
  }
}

// ---- Color

void CVexRetouchDlg::ResetColor() {
  m_bPending = 0;
  RefreshPreview();
  m_pColor->SetStartValues();
}

LRESULT CVexRetouchDlg::ColorCode(int code) {
  using Page = CVexRetouchTabColor;
  Page& page = *m_pColor;
  if (code >= Page::kHue && code <= Page::kBalance1023) {
    m_bPending = 1;
    RefreshPreview();
    // The first failure ends the trial and the dialog.
    int detail = 0;
    if (page.m_nHue != 0 && m_pCalc->Hue(&m_preview, page.m_nHue) != 0) detail = 7;
    else if (page.m_nSaturation != 0 && m_pCalc->Saturation(&m_preview, page.m_nSaturation * 10) != 0) detail = 8;
    else if (page.m_nIntensity != 0 && m_pCalc->OffsetPlane(&m_preview, 2, page.m_nIntensity) != 0) detail = 9;
    else if (page.AnyBalance() &&
             m_pCalc->CurveBalance(&m_preview, page.m_nBalance[2], page.m_nBalance[1], page.m_nBalance[0]) != 0)
      detail = 10;
    if (detail) {
      Fail(detail);
      return -1;
    }
    return 0;
  }
  if (code == Page::kReset) {
    ResetColor();
  } else if (code == Page::kApply) {
    const bool go = RecordEdit([&page](CVexDoc& doc) {
      return doc.QueueColorAdjust(page.m_nHue, page.m_nSaturation * 10, page.m_nIntensity, page.m_nBalance[2],
                                  page.m_nBalance[1], page.m_nBalance[0]);
    });
    if (!go) return 0;
    m_bPending = 0;
    m_pStageControl->SetValue146(0);
    m_pStageControl->SetBitmap(m_preview.GetBitmap());
    ResetColor();
  }
  return 0;
}

// ---- Size: the choice is carried out at OK.

LRESULT CVexRetouchDlg::SizeCode(int code) {
  using Page = CVexRetouchTabSize;
  Page& page = *m_pSize;
  static constexpr float kFactors[] = {1.0f, 0.75f, 0.5f, 0.25f};
  const float factor = page.m_nSizeIndex >= 0 && page.m_nSizeIndex < 4 ? kFactors[page.m_nSizeIndex] : 0.0f;
  const float scale = GetViewScale();
  switch (code) {
    case Page::kChosen: {
      m_bPending = 1;
      int width, height;
      if (m_nCropState == 1) {
        width = static_cast<int>(factor * m_fCropWidth / scale);
        height = static_cast<int>(factor * m_fCropHeight / scale);
      } else {
        width = static_cast<int>(factor * m_pStageControl->GetImageWidth());
        height = static_cast<int>(factor * m_pStageControl->GetImageHeight());
      }
      page.m_strNewSize = SizeText(width, height);
      break;
    }
    case Page::kReset:
      m_bPending = 0;
      m_nSizeChoice = 0;
      page.m_nSizeIndex = 0;
      if (m_nCropState == 1)
        page.m_strNewSize = SizeText(static_cast<int>(static_cast<int>(m_fCropWidth) / scale),
                                     static_cast<int>(static_cast<int>(m_fCropHeight) / scale));
      else
        page.m_strNewSize = SizeText(static_cast<int>(m_pStageControl->GetImageWidth()),
                                     static_cast<int>(m_pStageControl->GetImageHeight()));
      break;
    case Page::kApply:
      m_bPending = 0;
      m_nSizeChoice = page.m_nSizeIndex;
      break;
    default:
      break;
  }
  if (page.m_hWnd) page.UpdateData(FALSE);
  return 0;
}

// ---- W.Balance

void CVexRetouchDlg::RemoveBand() {
  m_nBandState = -1;
  m_preview.SetRegionEnabled(FALSE);
}

void CVexRetouchDlg::ResetWBalance() {
  m_bPending = 0;
  RefreshPreview();
  std::fill(std::begin(m_nLevel), std::end(m_nLevel), -1);
  m_nBalanceMode = m_nSampleTaken = -1;
  m_pWBalance->EnableStart(FALSE);
  m_nSampling = 0;
}

LRESULT CVexRetouchDlg::WBalanceCode(int code) {
  using Page = CVexRetouchTabWBalance;
  Page& page = *m_pWBalance;
  if (page.m_hWnd) page.UpdateData(TRUE);
  switch (code) {
    case Page::kWhite:
    case Page::kBlack:
      m_nSampling = 1;
      m_nBalanceMode = code == Page::kWhite ? 0 : 1;
      RemoveBand();
      break;
    case Page::kStart: {
      RemoveBand();
      m_nSampling = 0;
      if (m_nBalanceMode == -1 || m_nSampleTaken == -1) break;
      TakeSample();
      if (std::find(std::begin(m_nLevel), std::end(m_nLevel), -1) != std::end(m_nLevel)) break;
      m_bPending = 1;
      if (m_nBalanceMode == 0) {
        if (m_pCalc->WhiteBalance(&m_preview, m_nLevel[0], m_nLevel[1], m_nLevel[2]) != 0) Fail(12);
      } else {
        if (m_pCalc->BlackBalance(&m_preview, m_nLevel[0], m_nLevel[1], m_nLevel[2]) != 0) Fail(13);
      }
      break;
    }
    case Page::kReset:
      ResetWBalance();
      RemoveBand();
      break;
    case Page::kApply: {
      m_bPending = 0;
      const bool known = std::find(std::begin(m_nLevel), std::end(m_nLevel), -1) == std::end(m_nLevel);
      if (known) {
        const int mode = m_nBalanceMode;
        const bool go = RecordEdit([this, mode](CVexDoc& doc) {
          if (mode == 0) return doc.QueueWhiteBalance(m_nLevel[0], m_nLevel[1], m_nLevel[2]);
          if (mode == 1) return doc.QueueBlackBalance(m_nLevel[0], m_nLevel[1], m_nLevel[2]);
          return 0;  // nothing to note without a mode
        });
        if (!go) {
          m_bPending = 1;
          RemoveBand();
          break;
        }
        m_pStageControl->SetValue146(0);
        m_pStageControl->SetFlag272(FALSE);
        m_pStageControl->SetBitmap(m_preview.GetBitmap());
      }
      ResetWBalance();
      RemoveBand();
      break;
    }
    default:
      break;
  }
  return 0;
}

void CVexRetouchDlg::TakeSample() {
  std::fill(std::begin(m_nLevel), std::end(m_nLevel), -1);
  const float zoom = m_preview.GetPaintZoom();
  if (!(zoom > 0)) {
    std::fill(std::begin(m_nLevel), std::end(m_nLevel), 0);
    return;
  }
  const float s = 100.0f / zoom;
  // Outside the picture the control answers -1, which is no pixel: it would count as
  // white in every level.
  auto inside = [](LONG v) { return v != -1; };
  if (m_pWBalance->m_nSampleKind == CVexRetouchTabWBalance::kPoint) {
    const LONG v = m_preview.GetPixel(s * static_cast<float>(m_nDownX), s * static_cast<float>(m_nDownY));
    if (inside(v)) {
      m_nLevel[0] = v & 0xFF;
      m_nLevel[1] = (v >> 8) & 0xFF;
      m_nLevel[2] = (v >> 16) & 0xFF;
    }
  } else {
    m_fSampleLeft = m_preview.GetRegionLeft() * s;
    m_fSampleTop = m_preview.GetRegionTop() * s;
    m_fSampleWidth = m_preview.GetRegionWidth() * s;
    m_fSampleHeight = m_preview.GetRegionHeight() * s;
    long long sum[3] = {};
    long long count = 0;
    const int right = static_cast<int>(m_fSampleLeft + m_fSampleWidth);
    const int bottom = static_cast<int>(m_fSampleTop + m_fSampleHeight);
    for (int x = static_cast<int>(m_fSampleLeft); x < right; ++x) {
      for (int y = static_cast<int>(m_fSampleTop); y < bottom; ++y) {
        const LONG v = m_preview.GetPixel(static_cast<float>(x), static_cast<float>(y));
        if (!inside(v)) continue;
        sum[0] += v & 0xFF;
        sum[1] += (v >> 8) & 0xFF;
        sum[2] += (v >> 16) & 0xFF;
        ++count;
      }
    }
    if (count > 0)
      for (int i = 0; i < 3; ++i) m_nLevel[i] = static_cast<int>(sum[i] / count);
  }
  m_preview.SetRegionEnabled(FALSE);
}
