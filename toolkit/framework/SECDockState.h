// SECDockState: the saved arrangement of a frame's bars as the class library keeps it:
// one SECControlBarInfo a bar, stored in the profile (sections "<profile>-Summary" and
// "<profile>-Bar<n>"), an archive, or a tree node "DockState"; bars the frame does not
// make by itself are made again from their class names.
#pragma once
#include <afxext.h>

class SECControlBarInfo;
class SECControlBarManager;
class SECPersistentTreeNode;
class SECPTNFactory;

class SECDockState : public CDockState {
  DECLARE_SERIAL(SECDockState)
 public:
  explicit SECDockState(SECControlBarManager* pOwner = nullptr, CPtrList* pCreatedBars = nullptr);
  ~SECDockState() override;

  virtual BOOL SaveToTree(SECPTNFactory* pFactory, SECPersistentTreeNode* pParent);
  virtual void SaveState(LPCSTR lpszProfileName);
  virtual BOOL LoadFromTree(SECPersistentTreeNode* pRoot);
  virtual void LoadState(LPCSTR lpszProfileName);
  virtual BOOL GetState(CFrameWnd* pFrame);
  virtual BOOL SetState(CFrameWnd* pFrame);
  virtual SECControlBarInfo* CreateBarInfo(SECControlBarManager* pOwner);
  virtual void CreateBars(CFrameWnd* pFrame, BOOL bMDIFrame);
  virtual void PlaceFloatingFrames();
  virtual void RestoreMDIChildPlacements(CFrameWnd* pFrame);
  virtual CWnd* CreateBarFromClass(LPCSTR lpszClassName, CFrameWnd* pFrame, SECControlBarInfo* pInfo);
  virtual CRuntimeClass* FindRuntimeClass(LPCSTR lpszClassName);

  // Little-endian archive form; a damaged or cut archive leaves the state empty and
  // throws on.
  void Serialize(CArchive& ar) override;
  // Deletes every record.
  void Clear();
  // Tidies the id lists before a save: placeholders of bars that are elsewhere, repeats
  // and trailing row ends go.
  void PurgeBarIDs();

  SECControlBarInfo* GetBarInfo(INT_PTR i) const { return static_cast<SECControlBarInfo*>(m_arrBarInfo[i]); }
  INT_PTR GetBarCount() const { return m_arrBarInfo.GetSize(); }

  // A record for each bar a frame can hold and for each of their floating frames' dock
  // bars, and the frame's four dock bars: a count beyond this is damage, and nothing is
  // loaded, before any record is read.
  static constexpr int kMaxBars = 2 * CControlBarInfo::kMaxFrameBars + 4;

  SECControlBarManager* m_pOwner;  // not owned
  CPtrList* m_pCreatedBars;        // not owned; bars made from class names join it

 private:
  // The manager of a library frame, when none was given.
  void TakeOwnerFrom(CFrameWnd* pFrame);
  SECControlBarInfo* AddRecord();
};
