#include <gtest/gtest.h>

#include <memory>

#include "afx.h"

namespace {

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CStoredNote : public CObject {
  DECLARE_SERIAL(CStoredNote)
};
IMPLEMENT_SERIAL(CStoredNote, CObject, 3)

TEST(RuntimeClass, DescribesEachClass) {
  const CRuntimeClass* circle = RUNTIME_CLASS(CCircle);
  EXPECT_STREQ(circle->m_lpszClassName, "CCircle");
  EXPECT_EQ(circle->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
  EXPECT_EQ(circle->m_wSchema, 0xFFFFu);
  EXPECT_EQ(circle->m_pBaseClass, RUNTIME_CLASS(CShape));
  EXPECT_EQ(RUNTIME_CLASS(CShape)->m_pBaseClass, RUNTIME_CLASS(CObject));
  EXPECT_EQ(RUNTIME_CLASS(CStoredNote)->m_wSchema, 3u);
  EXPECT_EQ(RUNTIME_CLASS(CShape)->m_pfnCreateObject, nullptr);
}

TEST(RuntimeClass, KindsFollowTheBaseChain) {
  CCircle circle;
  const CObject* object = &circle;
  EXPECT_EQ(object->GetRuntimeClass(), RUNTIME_CLASS(CCircle));
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(object->IsKindOf(RUNTIME_CLASS(CStoredNote)));
  EXPECT_FALSE(circle.IsSerializable());
  EXPECT_TRUE(CStoredNote().IsSerializable());
}

TEST(RuntimeClass, CreatesByClassAndByName) {
  std::unique_ptr<CObject> made(RUNTIME_CLASS(CCircle)->CreateObject());
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);

  EXPECT_EQ(CRuntimeClass::FromName("CStoredNote"), RUNTIME_CLASS(CStoredNote));
  EXPECT_EQ(CRuntimeClass::FromName("CCircle"), RUNTIME_CLASS(CCircle));
  EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

TEST(RuntimeClass, DowncastsCheckTheKind) {
  CCircle circle;
  CStoredNote note;
  EXPECT_EQ(DYNAMIC_DOWNCAST(CShape, &circle), &circle);
  EXPECT_EQ(DYNAMIC_DOWNCAST(CShape, &note), nullptr);
  EXPECT_EQ(DYNAMIC_DOWNCAST(CShape, static_cast<CObject*>(nullptr)), nullptr);
  EXPECT_EQ(STATIC_DOWNCAST(CShape, &circle), &circle);
}

TEST(RuntimeClass, FailedAssertionsAreReportedNotFatal) {
  ASSERT_VALID(static_cast<CObject*>(nullptr));
  ASSERT(1 + 1 == 3);
  int evaluated = 0;
  VERIFY(++evaluated == 1);
  EXPECT_EQ(evaluated, 1);  // VERIFY evaluates in every build
#ifndef NDEBUG
  EXPECT_GE(AfxAssertFailureCount(), 2);
#endif
}

}  // namespace
