// SECMsgFilter: a tree of message filters that a library frame offers its non-client
// messages to. Each filter has an id; the frame's descriptor table says which filters
// exist, where they hang and whether they are on. SECNcMsgFilter marks the non-client ones.
//
// A filter's handling can destroy the frame that owns the tree (a caption button that moves
// its frame into another window), so a root given to DeleteRoot while any filter of the
// thread is still at work is kept until the outermost FilterMessage returns.
#pragma once
#include <afxwin.h>

class SECMsgFilter : public CObject {
  DECLARE_DYNCREATE(SECMsgFilter)
 public:
  // One entry of a frame's table: which filter, under which parent, of which class.
  class Descriptor {
   public:
    Descriptor(UINT nID, UINT nParentID, CRuntimeClass* pClass, BOOL bFlag)
        : m_nID(nID), m_nParentID(nParentID), m_pFilterClass(pClass), m_bFlag(bFlag) {}
    virtual ~Descriptor() = default;
    virtual Descriptor* Clone() const { return new Descriptor(m_nID, m_nParentID, m_pFilterClass, m_bFlag); }
    // Bit 0 of the flag: a zero value never switches the filter off.
    BOOL IsKeptOn() const { return (m_bFlag & 1) != 0; }

    UINT m_nID;
    UINT m_nParentID;  // 0xFFFFFFFF: under the root
    CRuntimeClass* m_pFilterClass;
    BOOL m_bFlag;
  };

  // Owns its descriptors, in the order they were added.
  class DescriptorTable : public CPtrArray {
   public:
    DescriptorTable() = default;
    ~DescriptorTable() override;
    Descriptor* Add(UINT nID, UINT nParentID, CRuntimeClass* pClass, BOOL bFlag);
    Descriptor* GetAt(INT_PTR i) const { return static_cast<Descriptor*>(CPtrArray::GetAt(i)); }
  };

  static constexpr UINT kNoParent = 0xFFFFFFFF;
  // Result bits.
  enum : LRESULT { kHandled = 1, kCaption2 = 2, kCaption4 = 4, kStop = 8 };

  SECMsgFilter(CFrameWnd* pFrame, UINT nID);
  ~SECMsgFilter() override;

  virtual SECMsgFilter* Clone() const;
  virtual CFrameWnd* GetFrame() const { return m_pFrame; }
  virtual void SetFrame(CFrameWnd* pFrame, BOOL bDeep);
  virtual LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // FilterMessage with the message the frame's window procedure is handling now.
  LRESULT FilterCurrentMessage(LRESULT* pResult = nullptr);
  virtual LRESULT OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT FilterChildren(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // A direct child of that id; else (depth not 0) the same search one level down, -1
  // searching the whole tree; else, with a class, a new child of it; else null.
  virtual SECMsgFilter* FindFilter(UINT nID, CRuntimeClass* pClass = nullptr, int nDepth = 0);
  virtual void ApplyDescriptor(const Descriptor& descriptor, BOOL bOn);
  // One value per descriptor, in table order; missing values count as 0.
  virtual void ApplyDescriptors(const DescriptorTable& table, const BOOL* pValues, INT_PTR nValues);
  virtual void ApplyDescriptorsAll(const DescriptorTable& table, BOOL bOn);

  UINT GetID() const { return m_nID; }
  virtual void SetID(UINT nID) { m_nID = nID; }
  BOOL IsEnabled() const { return m_bEnabled; }
  void Enable(BOOL bEnabled) { m_bEnabled = bEnabled; }
  INT_PTR GetChildCount() const { return m_children.GetSize(); }
  SECMsgFilter* GetChild(INT_PTR i) const { return static_cast<SECMsgFilter*>(m_children.GetAt(i)); }

  // The root filter (id -1) made for a frame, or null.
  static SECMsgFilter* RootOf(const CFrameWnd* pFrame);
  // Deletes a frame's root now, or when the outermost filter at work returns; the tree
  // forgets its frame at once.
  static void DeleteRoot(SECMsgFilter* pRoot);
  // Held while a filter works outside FilterMessage (a timer's hold action), so that a
  // root deleted meanwhile lives until the work is over.
  class Busy {
   public:
    Busy();
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
  };

  UINT m_nID;
  BOOL m_bEnabled = TRUE;
  BOOL m_bOwnsChildren = TRUE;
  CPtrArray m_children;  // SECMsgFilter*, owned while m_bOwnsChildren
  CFrameWnd* m_pFrame;

 protected:
  SECMsgFilter() : SECMsgFilter(nullptr, kNoParent) {}
  // The copy behind Clone: same id, enabled flag and frame, and clones of the children.
  SECMsgFilter(const SECMsgFilter& other);
  // Hangs a clone of each of `other`'s children under this filter.
  void CloneChildrenOf(const SECMsgFilter& other);
};

class SECNcMsgFilter : public SECMsgFilter {
  DECLARE_DYNCREATE(SECNcMsgFilter)
 public:
  SECNcMsgFilter(CFrameWnd* pFrame, UINT nID) : SECMsgFilter(pFrame, nID) {}
  SECMsgFilter* Clone() const override;

 protected:
  SECNcMsgFilter() = default;
  SECNcMsgFilter(const SECNcMsgFilter& other) : SECMsgFilter(other) {}
};
