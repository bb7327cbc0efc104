// The filter tree and the frames' descriptor tables, and finding document templates by name
// and by the classes of a document, view and frame.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CaptionFilterRig.h"
#include "framework/SECCaptionControlMsgFilter.h"
#include "framework/SECCaptionMsgFilter.h"
#include "framework/SECDocTemplateUtils.h"
#include "framework/SECFilterTables.h"
#include "framework/ScxButtonMsgFilter.h"
#include "framework/ScxMsgFilter.h"

namespace framework_test {
namespace {

using nsSysCommandEx::ScxButtonMDIChildMsgFilter;
using nsSysCommandEx::ScxButtonMDIMaxChildMsgFilter;

// A filter that answers a fixed result and counts what it saw.
class CountingFilter : public SECMsgFilter {
  DECLARE_DYNCREATE(CountingFilter)
 public:
  CountingFilter() = default;
  SECMsgFilter* Clone() const override { return new CountingFilter(*this); }
  LRESULT OnFilterMessage(UINT, WPARAM, LPARAM, LRESULT*) override {
    ++seen;
    if (onMessage) onMessage();
    return answer;
  }
  int seen = 0;
  LRESULT answer = 0;
  std::function<void()> onMessage;
  static inline int deleted = 0;
  ~CountingFilter() override { ++deleted; }

 protected:
  CountingFilter(const CountingFilter& other) : SECMsgFilter(other), answer(other.answer) {}
};
IMPLEMENT_DYNCREATE(CountingFilter, SECMsgFilter)

// The tree as text: id, class and "-" when off, children in brackets.
std::string Tree(const SECMsgFilter& f) {
  std::string out = std::to_string(static_cast<int>(f.GetID())) + ":" + f.GetRuntimeClass()->m_lpszClassName;
  if (!f.IsEnabled()) out += "-";
  if (f.GetChildCount()) {
    out += "[";
    for (INT_PTR i = 0; i < f.GetChildCount(); ++i) out += (i ? " " : "") + Tree(*f.GetChild(i));
    out += "]";
  }
  return out;
}

TEST(FilterTree, ChildrenSeeAMessageInOrderUntilOneSaysStop) {
  SECMsgFilter root(nullptr, SECMsgFilter::kNoParent);
  auto* a = static_cast<CountingFilter*>(root.FindFilter(1, RUNTIME_CLASS(CountingFilter)));
  auto* off = static_cast<CountingFilter*>(root.FindFilter(2, RUNTIME_CLASS(CountingFilter)));
  auto* b = static_cast<CountingFilter*>(root.FindFilter(3, RUNTIME_CLASS(CountingFilter)));
  auto* c = static_cast<CountingFilter*>(root.FindFilter(4, RUNTIME_CLASS(CountingFilter)));
  a->answer = 2;
  off->Enable(FALSE);
  off->answer = 1;
  b->answer = SECMsgFilter::kHandled | SECMsgFilter::kStop;
  LRESULT result = 0;
  EXPECT_EQ(root.FilterMessage(WM_NCPAINT, 0, 0, &result), 2 | 1 | 8);
  EXPECT_EQ(a->seen, 1);
  EXPECT_EQ(off->seen, 0);
  EXPECT_EQ(b->seen, 1);
  EXPECT_EQ(c->seen, 0);
  // A switched-off root answers 0 and offers nothing.
  root.Enable(FALSE);
  EXPECT_EQ(root.FilterMessage(WM_NCPAINT, 0, 0, &result), 0);
  EXPECT_EQ(a->seen, 1);
}

TEST(FilterTree, FindFilterLooksAsDeepAsAskedAndCreatesOnlyFromAClass) {
  SECMsgFilter root(nullptr, SECMsgFilter::kNoParent);
  SECMsgFilter* list = root.FindFilter(256, RUNTIME_CLASS(SECCaptionControlListMsgFilter));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetID(), 256u);
  EXPECT_EQ(root.FindFilter(256, RUNTIME_CLASS(CountingFilter)), list);  // found, not made again
  // The list's own five buttons are one level down.
  EXPECT_EQ(root.FindFilter(3), nullptr);
  SECMsgFilter* restore = root.FindFilter(3, nullptr, 1);
  ASSERT_NE(restore, nullptr);
  EXPECT_EQ(static_cast<SECCaptionControlMsgFilter*>(restore)->m_nDrawState & 0xFFF, UINT(DFCS_CAPTIONRESTORE));
  EXPECT_EQ(root.FindFilter(3, nullptr, -1), restore);
  EXPECT_EQ(root.FindFilter(99, nullptr, -1), nullptr);
  // A class that is no filter makes nothing.
  EXPECT_EQ(root.FindFilter(99, RUNTIME_CLASS(CDocument)), nullptr);
  EXPECT_EQ(root.GetChildCount(), 1);
}

TEST(FilterTree, TheChildTableBuildsTheTreeAndTheKeepOnListStaysOn) {
  SECMsgFilter::DescriptorTable table;
  sec_filters::FillMDIChildTable(table);
  ASSERT_EQ(table.GetSize(), 5);
  EXPECT_EQ(table.GetAt(0)->m_nParentID, 0xFFFFFFFFu);
  std::unique_ptr<SECMsgFilter::Descriptor> copy(table.GetAt(2)->Clone());
  EXPECT_EQ(copy->m_nID, 258u);
  EXPECT_EQ(copy->m_nParentID, 256u);
  EXPECT_EQ(copy->m_pFilterClass, RUNTIME_CLASS(ScxButtonMDIChildMsgFilter));
  EXPECT_EQ(copy->m_bFlag, FALSE);

  SECMsgFilter root(nullptr, SECMsgFilter::kNoParent);
  // Switching off what does not exist makes nothing; a child whose parent is missing neither.
  root.ApplyDescriptorsAll(table, FALSE);
  EXPECT_EQ(root.GetChildCount(), 0);
  root.ApplyDescriptor(*table.GetAt(2), TRUE);
  EXPECT_EQ(root.GetChildCount(), 0);

  root.ApplyDescriptorsAll(table, TRUE);
  EXPECT_EQ(Tree(root),
            "-1:SECMsgFilter[257:ScxMsgFilter 256:SECCaptionControlListMsgFilter[0:SECCaptionControlMsgFilter "
            "2:SECCaptionControlMsgFilter 3:SECCaptionControlMsgFilter 1:SECCaptionControlMsgFilter "
            "4:SECCaptionControlMsgFilter 258:ScxButtonMDIChildMsgFilter] 259:ScxCaptionNCRDBLClkFilter "
            "262:ScxContextMenuFilter]");
  // All off: the caption-control list has its flag and stays on.
  const BOOL off[] = {FALSE, FALSE, FALSE, FALSE, FALSE};
  root.ApplyDescriptors(table, off, 5);
  EXPECT_FALSE(root.FindFilter(257)->IsEnabled());
  EXPECT_TRUE(root.FindFilter(256)->IsEnabled());
  EXPECT_FALSE(root.FindFilter(258, nullptr, -1)->IsEnabled());
  EXPECT_FALSE(root.FindFilter(259)->IsEnabled());
  EXPECT_FALSE(root.FindFilter(262)->IsEnabled());
  // The list's own table switched off takes the five buttons off, and they stay in the tree.
  auto* list = static_cast<SECCaptionControlListMsgFilter*>(root.FindFilter(256));
  list->ApplyDescriptorsAll(list->m_descriptors, FALSE);
  for (UINT id : {0u, 1u, 2u, 3u, 4u}) EXPECT_FALSE(list->FindFilter(id)->IsEnabled()) << id;
  EXPECT_EQ(list->GetChildCount(), 6);
}

TEST(FilterTree, TheMDIFrameTableHangsTheMaximisedChildsButtonUnderItsList) {
  SECMsgFilter::DescriptorTable table;
  sec_filters::FillMDIFrameTable(table);
  SECMsgFilter root(nullptr, SECMsgFilter::kNoParent);
  root.ApplyDescriptorsAll(table, TRUE);
  SECMsgFilter* list = root.FindFilter(256);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->IsKindOf(RUNTIME_CLASS(SECCapConLstMDIMaxChildMsgFilter)));
  EXPECT_EQ(list->FindFilter(260)->GetRuntimeClass(), RUNTIME_CLASS(ScxButtonMDIMaxChildMsgFilter));
  // Here nothing keeps the list on.
  root.ApplyDescriptorsAll(table, FALSE);
  EXPECT_FALSE(list->IsEnabled());
}

TEST(FilterTree, ACloneCopiesIdsFlagsFrameAndChildren) {
  CFrameWnd frameObject;
  SECMsgFilter root(&frameObject, SECMsgFilter::kNoParent);
  SECMsgFilter::DescriptorTable table;
  sec_filters::FillDockableFrameTable(table);
  root.ApplyDescriptorsAll(table, TRUE);
  root.FindFilter(259)->Enable(FALSE);
  std::unique_ptr<SECMsgFilter> clone(root.Clone());
  EXPECT_EQ(Tree(*clone), Tree(root));
  EXPECT_EQ(clone->FindFilter(258, nullptr, -1)->GetFrame(), &frameObject);
  EXPECT_NE(clone->FindFilter(258, nullptr, -1), root.FindFilter(258, nullptr, -1));
  // The copy's list has a table of its own.
  auto* list = static_cast<SECCaptionControlListMsgFilter*>(clone->FindFilter(256));
  EXPECT_EQ(list->m_descriptors.GetSize(), 5);
  EXPECT_EQ(list->GetChildCount(), 6);
  root.SetFrame(nullptr, TRUE);
}

TEST(FilterTree, ARootDeletedWhileItsFiltersWorkGoesWhenTheOutermostReturns) {
  auto* root = new SECMsgFilter(nullptr, SECMsgFilter::kNoParent);
  auto* a = static_cast<CountingFilter*>(root->FindFilter(1, RUNTIME_CLASS(CountingFilter)));
  CountingFilter::deleted = 0;
  int deletedInside = -1;
  a->onMessage = [&] {
    SECMsgFilter::DeleteRoot(root);
    // Still here: the filter at work may go on using itself.
    deletedInside = CountingFilter::deleted;
    a->answer = 1;
  };
  LRESULT result = 0;
  EXPECT_EQ(root->FilterMessage(WM_NCPAINT, 0, 0, &result), 1);
  EXPECT_EQ(deletedInside, 0);
  EXPECT_EQ(CountingFilter::deleted, 1);
  // Outside any filter work the root goes at once.
  auto* other = new SECMsgFilter(nullptr, SECMsgFilter::kNoParent);
  other->FindFilter(1, RUNTIME_CLASS(CountingFilter));
  SECMsgFilter::DeleteRoot(other);
  EXPECT_EQ(CountingFilter::deleted, 2);
}

// ---- templates

using DocTemplateUtilsTest = CaptionFilterTest;

TEST_F(DocTemplateUtilsTest, SameNamedTemplatesCountInTheApplicationsOrder) {
  auto* second = new RecordingTemplate(RUNTIME_CLASS(OtherDoc), RUNTIME_CLASS(RigView), 0, "Other.Document");
  auto* third = new RecordingTemplate(RUNTIME_CLASS(OtherDoc), RUNTIME_CLASS(OtherView), 0, "Rig.Document");
  app.AddDocTemplate(second);
  app.AddDocTemplate(third);
  SECDocTemplateUtils utils;
  EXPECT_EQ(utils.GetTemplateIndex(tmpl, "Rig.Document"), 0);
  EXPECT_EQ(utils.GetTemplateIndex(third, "Rig.Document"), 1);
  EXPECT_EQ(utils.GetTemplateIndex(second, "Other.Document"), 0);
  EXPECT_EQ(utils.GetTemplateByIndex("Rig.Document", 0), tmpl);
  EXPECT_EQ(utils.GetTemplateByIndex("Rig.Document", 1), third);
  EXPECT_EQ(utils.GetTemplateByIndex("Rig.Document", 5), third);  // past the end: the last of the name
  EXPECT_EQ(utils.GetTemplateByIndex("Nothing", 0), nullptr);
  EXPECT_EQ(utils.GetTemplateIndex(nullptr, "Rig.Document"), -1);
  RecordingTemplate stranger;
  EXPECT_EQ(utils.GetTemplateIndex(&stranger, "Rig.Document"), -1);  // not the application's
}

TEST_F(DocTemplateUtilsTest, OneTemplateIsFoundWithoutLookingAtAnyClass) {
  SECDocTemplateUtils utils;
  OtherDoc document;
  OtherView view;
  CFrameWnd plain;
  EXPECT_EQ(utils.FindTemplate(&document, &view, &plain), tmpl);
  EXPECT_EQ(utils.FindTemplate(nullptr, &view, &plain), nullptr);
  EXPECT_EQ(utils.FindTemplate(&document, nullptr, &plain), nullptr);
  EXPECT_EQ(utils.FindTemplate(&document, &view, nullptr), nullptr);
}

TEST_F(DocTemplateUtilsTest, TemplatesNarrowByViewFrameResourceAndDocument) {
  // tmpl: RigDoc, RigView, 0. The others differ in one thing each.
  auto* byView = new RecordingTemplate(RUNTIME_CLASS(RigDoc), RUNTIME_CLASS(OtherView), 0);
  auto* byResource = new RecordingTemplate(RUNTIME_CLASS(RigDoc), RUNTIME_CLASS(RigView), 7);
  auto* byDoc = new RecordingTemplate(RUNTIME_CLASS(OtherDoc), RUNTIME_CLASS(RigView), 0);
  auto* twin = new RecordingTemplate(RUNTIME_CLASS(RigDoc), RUNTIME_CLASS(RigView), 0);
  for (auto* t : {byView, byResource, byDoc, twin}) app.AddDocTemplate(t);
  SECDocTemplateUtils utils;
  FilterFrame frameObject;  // a dockable frame: the templates' dockable class counts
  RigView rigView;
  OtherView otherView;
  RigDoc rigDoc;
  OtherDoc otherDoc;
  EXPECT_EQ(utils.FindTemplate(&rigDoc, &otherView, &frameObject), byView);
  frameObject.m_nIDHelp = 7;
  EXPECT_EQ(utils.FindTemplate(&rigDoc, &rigView, &frameObject), byResource);
  frameObject.m_nIDHelp = 0;
  EXPECT_EQ(utils.FindTemplate(&otherDoc, &rigView, &frameObject), byDoc);
  // Two left that fit in everything: the document's own, else the first.
  EXPECT_EQ(utils.FindTemplate(&rigDoc, &rigView, &frameObject), tmpl);
  twin->AddDocument(&rigDoc);
  EXPECT_EQ(utils.FindTemplate(&rigDoc, &rigView, &frameObject), twin);
  twin->RemoveDocument(&rigDoc);
  // A plain frame matches the templates' frame class, and no template makes CFrameWnd.
  CFrameWnd plain;
  EXPECT_EQ(utils.FindTemplate(&rigDoc, &rigView, &plain), nullptr);
  frameObject.m_pMsgFilter->SetFrame(nullptr, TRUE);
}

TEST_F(DocTemplateUtilsTest, ADockableFrameTakesTheDockableClassOfALibraryTemplateOnly) {
  SECDocTemplateUtils utils;
  CSingleDocTemplate plain(0, RUNTIME_CLASS(RigDoc), RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(RigView));
  EXPECT_EQ(utils.GetTemplateFrameClass(&plain, FALSE), RUNTIME_CLASS(CFrameWnd));
  EXPECT_EQ(utils.GetTemplateFrameClass(&plain, TRUE), nullptr);
  EXPECT_EQ(utils.GetTemplateFrameClass(tmpl, TRUE), RUNTIME_CLASS(FilterFrame));
  EXPECT_TRUE(utils.IsDockableFrameClass(RUNTIME_CLASS(FilterFrame)));
  EXPECT_FALSE(utils.IsDockableFrameClass(RUNTIME_CLASS(SECFrameWnd)));
  EXPECT_EQ(utils.GetFrameResourceId(nullptr), 0u);
}

TEST_F(DocTemplateUtilsTest, AChainIsVisibleOnlyWhenEveryParentIs) {
  SECControlBar* bar = MakeBar(frame, ID_TEST_BAR_A, "Bar");
  ASSERT_NE(bar, nullptr);
  frame->DockControlBar(bar);
  CWnd inner;
  ASSERT_TRUE(inner.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), bar, 1));
  Settle();
  EXPECT_TRUE(IsVisibleChain(&inner));
  frame->ShowControlBar(bar, FALSE, FALSE);
  Settle();
  EXPECT_FALSE(IsVisibleChain(&inner));
  EXPECT_FALSE(IsVisibleChain(nullptr));
  inner.DestroyWindow();
  // Without an MDI client there is no other MDI child.
  EXPECT_FALSE(HasOtherVisibleMDIChild(frame));
}

}  // namespace
}  // namespace framework_test
