#include "PrintFixture.h"

namespace printing {
BEGIN_MESSAGE_MAP(CPrintFrame, CFrameWnd)
  ON_COMMAND(ID_FILE_PRINT, OnPrintCommand)
END_MESSAGE_MAP()
}  // namespace printing
