#include "SECControlBarInfo.h"

IMPLEMENT_DYNCREATE(SECControlBarInfoEx, CObject)

SECControlBarInfo::SECControlBarInfo() = default;

SECControlBarInfo::~SECControlBarInfo() { delete m_pBarInfoEx; }
