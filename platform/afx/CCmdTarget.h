// CCmdTarget: the base of every class that receives commands through a message map.
#pragma once
#include "afx.h"
#include "AfxMessageMap.h"

struct AFX_EVENTSINKMAP;

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget() = default;

  // Routes a command, update request or notification to this object's handler.
  // nCode carries the message in its high word (0 meaning WM_COMMAND).
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // The hourglass while a long operation runs (counted, so calls may nest).
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  // The first entry of this object's maps (most derived first) that handles `message`
  // (a window message: code and id 0), or null.
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;
  // Calls an entry's handler.
  BOOL DispatchEntry(const AFX_MSGMAP_ENTRY& entry, plat::afx::MsgCall& call);

  // The events of hosted controls that this object takes (EventSink.h); none here.
  virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const { return nullptr; }

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  static const AFX_EVENTSINKMAP* GetThisEventSinkMap() { return nullptr; }
  virtual const AFX_MSGMAP* GetMessageMap() const;
};
