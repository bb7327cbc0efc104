#include "SECMsgFilter.h"

#include <memory>
#include <vector>

IMPLEMENT_DYNCREATE(SECMsgFilter, CObject)
IMPLEMENT_DYNCREATE(SECNcMsgFilter, SECMsgFilter)

namespace {

// Filters run on the UI thread; each thread counts its own filters at work.
struct FilterWork {
  int depth = 0;
  std::vector<std::unique_ptr<SECMsgFilter>> doomed;
  std::vector<SECMsgFilter*> roots;  // live roots, for filters that look at another frame's
};

FilterWork& Work() {
  thread_local FilterWork work;
  return work;
}

void Leave() {
  FilterWork& work = Work();
  if (--work.depth > 0) return;
  // The outermost filter is done: roots deleted meanwhile go now (deleting one may not
  // add another, but take them out first all the same).
  std::vector<std::unique_ptr<SECMsgFilter>> doomed;
  doomed.swap(work.doomed);
}

}  // namespace

SECMsgFilter::Busy::Busy() { ++Work().depth; }
SECMsgFilter::Busy::~Busy() { Leave(); }

// ---- descriptors

SECMsgFilter::DescriptorTable::~DescriptorTable() {
  for (INT_PTR i = 0; i < GetSize(); ++i) delete GetAt(i);
  RemoveAll();
}

SECMsgFilter::Descriptor* SECMsgFilter::DescriptorTable::Add(UINT nID, UINT nParentID, CRuntimeClass* pClass,
                                                            BOOL bFlag) {
  auto descriptor = std::make_unique<Descriptor>(nID, nParentID, pClass, bFlag);
  CPtrArray::Add(descriptor.get());
  return descriptor.release();
}

// ---- the tree

SECMsgFilter::SECMsgFilter(CFrameWnd* pFrame, UINT nID) : m_nID(nID), m_pFrame(pFrame) {
  if (pFrame && nID == kNoParent) Work().roots.push_back(this);
}

SECMsgFilter* SECMsgFilter::RootOf(const CFrameWnd* pFrame) {
  if (!pFrame) return nullptr;
  for (SECMsgFilter* root : Work().roots)
    if (root->m_pFrame == pFrame) return root;
  return nullptr;
}

SECMsgFilter::SECMsgFilter(const SECMsgFilter& other)
    : CObject(), m_nID(other.m_nID), m_bEnabled(other.m_bEnabled), m_pFrame(other.m_pFrame) {
  CloneChildrenOf(other);
}

void SECMsgFilter::CloneChildrenOf(const SECMsgFilter& other) {
  for (INT_PTR i = 0; i < other.GetChildCount(); ++i) {
    std::unique_ptr<SECMsgFilter> copy(other.GetChild(i)->Clone());
    if (!copy) continue;
    m_children.Add(copy.get());
    copy.release();
  }
}

SECMsgFilter::~SECMsgFilter() {
  std::erase(Work().roots, this);
  if (m_bOwnsChildren)
    for (INT_PTR i = 0; i < GetChildCount(); ++i) delete GetChild(i);
  m_children.RemoveAll();
}

SECMsgFilter* SECMsgFilter::Clone() const { return new SECMsgFilter(*this); }
SECMsgFilter* SECNcMsgFilter::Clone() const { return new SECNcMsgFilter(*this); }

void SECMsgFilter::SetFrame(CFrameWnd* pFrame, BOOL bDeep) {
  m_pFrame = pFrame;
  if (bDeep)
    for (INT_PTR i = 0; i < GetChildCount(); ++i) GetChild(i)->SetFrame(pFrame, TRUE);
}

LRESULT SECMsgFilter::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (!m_bEnabled) return 0;
  Busy busy;
  return OnFilterMessage(message, wParam, lParam, pResult);
}

LRESULT SECMsgFilter::FilterCurrentMessage(LRESULT* pResult) {
  const MSG* current = CWnd::GetCurrentMessage();
  LRESULT ignored = 0;
  return FilterMessage(current->message, current->wParam, current->lParam, pResult ? pResult : &ignored);
}

LRESULT SECMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return FilterChildren(message, wParam, lParam, pResult);
}

LRESULT SECMsgFilter::FilterChildren(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = 0;
  for (INT_PTR i = 0; i < GetChildCount() && !(result & kStop); ++i) {
    SECMsgFilter* child = GetChild(i);
    if (child->IsEnabled()) result |= child->FilterMessage(message, wParam, lParam, pResult);
  }
  return result;
}

SECMsgFilter* SECMsgFilter::FindFilter(UINT nID, CRuntimeClass* pClass, int nDepth) {
  for (INT_PTR i = 0; i < GetChildCount(); ++i)
    if (GetChild(i)->GetID() == nID) return GetChild(i);
  if (nDepth != 0) {
    for (INT_PTR i = 0; i < GetChildCount(); ++i)
      if (SECMsgFilter* found = GetChild(i)->FindFilter(nID, nullptr, nDepth - 1)) return found;
  }
  if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(SECMsgFilter))) return nullptr;
  std::unique_ptr<CObject> made(pClass->CreateObject());
  auto* filter = dynamic_cast<SECMsgFilter*>(made.get());
  if (!filter) return nullptr;
  made.release();
  filter->SetFrame(m_pFrame, TRUE);
  filter->SetID(nID);
  m_children.Add(filter);
  return filter;
}

void SECMsgFilter::ApplyDescriptor(const Descriptor& descriptor, BOOL bOn) {
  SECMsgFilter* parent = descriptor.m_nParentID == kNoParent ? this : FindFilter(descriptor.m_nParentID, nullptr, -1);
  if (!parent) return;
  SECMsgFilter* filter = parent->FindFilter(descriptor.m_nID, bOn ? descriptor.m_pFilterClass : nullptr);
  if (!filter) return;
  if (!bOn && descriptor.IsKeptOn()) return;
  filter->Enable(bOn);
}

void SECMsgFilter::ApplyDescriptors(const DescriptorTable& table, const BOOL* pValues, INT_PTR nValues) {
  for (INT_PTR i = 0; i < table.GetSize(); ++i)
    ApplyDescriptor(*table.GetAt(i), pValues && i < nValues ? pValues[i] : FALSE);
}

void SECMsgFilter::ApplyDescriptorsAll(const DescriptorTable& table, BOOL bOn) {
  for (INT_PTR i = 0; i < table.GetSize(); ++i) ApplyDescriptor(*table.GetAt(i), bOn);
}

void SECMsgFilter::DeleteRoot(SECMsgFilter* pRoot) {
  if (!pRoot) return;
  pRoot->SetFrame(nullptr, TRUE);
  std::erase(Work().roots, pRoot);
  FilterWork& work = Work();
  if (work.depth > 0)
    work.doomed.emplace_back(pRoot);
  else
    delete pRoot;
}
