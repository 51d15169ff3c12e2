// The surface record: it owns its parts, moves without copies, and the
// restore list follows a listed record wherever its container moves it;
// surfaces in the containers of their owners.
#include "dd_test_env.h"

namespace {

// A record with a 3D part of the given id, as the 3D device lists it.
DDSURFACEDATA Listed(int id) {
  DDSURFACEDATA sd;
  sd.lpDT = std::make_unique<DTDATA>();
  sd.lpDT->id = id;
  sd.szFileName = "bmp\\" + std::to_string(id) + ".bmp";
  RestoreList.Add(&sd);
  return sd;  // moved out: the list follows
}

class Surfaces : public DrawingTest {};

}  // namespace

TEST(SurfaceRecord, TheRestoreListFollowsRecordsThatMoveAndForgetsThoseThatGo) {
  const int before = RestoreList.Size();
  {
    cVector<DDSURFACEDATA> v;
    for (int id = 9001; id <= 9040; ++id) v.push_back(Listed(id));  // grows, moving every record
    EXPECT_EQ(RestoreList.Size(), before + 40);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(RestoreList.Find(9001 + i), &v[static_cast<size_t>(i)]) << i;
    v.erase(v.begin());  // the rest move down
    EXPECT_EQ(RestoreList.Find(9001), nullptr);
    EXPECT_EQ(RestoreList.Find(9002), &v[0]);
    EXPECT_EQ(v[0].szFileName, "bmp\\9002.bmp");
    // Moving a record over a listed one releases the one overwritten.
    v[1] = std::move(v[2]);
    EXPECT_EQ(RestoreList.Find(9003), nullptr);
    EXPECT_EQ(RestoreList.Find(9004), &v[1]);
    DDDestroySurface(&v[3]);
    EXPECT_EQ(RestoreList.Find(9005), nullptr);
    EXPECT_EQ(v[3].lpDT, nullptr);
    EXPECT_EQ(v[3].szFileName, "bmp\\9005.bmp");  // the record keeps its names
  }
  EXPECT_EQ(RestoreList.Size(), before);
  // The order of the list is the order the surfaces were made in.
  DDSURFACEDATA b = Listed(9102), a = Listed(9101);
  const std::vector<DDSURFACEDATA*> order = RestoreList.Surfaces();
  ASSERT_GE(order.size(), 2u);
  EXPECT_EQ(order[order.size() - 2], &a);
  EXPECT_EQ(order.back(), &b);
}

TEST_F(Surfaces, OwnersAddAndEraseSurfacesWithTheirDefinitions) {
  ASSERT_TRUE(Start(16));
  cVector<DDSURFACEDATA> vec;
  cVector<DDSURFACEDEF> vecDefs;
  EXPECT_TRUE(DDAddSurface(vec, vecDefs, 8, 4, 1, 1, 0, nullptr));
  EXPECT_TRUE(DDAddSurface(vec, vecDefs, 2, 2, 0, 0, 0, nullptr));
  ASSERT_EQ(vec.size(), 2u);
  ASSERT_EQ(vecDefs.size(), 2u);
  EXPECT_EQ(vec[0].nWidth, 8);
  EXPECT_EQ(vec[0].nDDMemType, 1);
  EXPECT_EQ(vecDefs[0].bColorKey, 1);
  EXPECT_EQ(vecDefs[0].nDDMemType, 1);
  EXPECT_TRUE(vecDefs[0].szFileName.empty());
  DDReleaseSurfaceVector(vec);
  EXPECT_EQ(vec[0].lpDDS, nullptr);
  EXPECT_EQ(vec.size(), 2u);  // the container itself stays

  cList<DDSURFACEDATA> list;
  cList<DDSURFACEDEF> listDefs;
  ASSERT_TRUE(DDAddSurfaceList(list, listDefs, 4, 4, 0, 0, 0, nullptr));
  ASSERT_TRUE(DDAddSurfaceList(list, listDefs, 6, 6, 1, 0, 0, nullptr));
  DDSURFACEDATA stranger;
  EXPECT_EQ(DDEraseSurface(list, listDefs, &stranger), 0);
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(DDEraseSurface(list, listDefs, &list.back()), 1);
  ASSERT_EQ(list.size(), 1u);
  ASSERT_EQ(listDefs.size(), 1u);
  EXPECT_EQ(list.front().nWidth, 4);
  EXPECT_EQ(listDefs.front().bColorKey, 0);
  DDReleaseSurfaceList(list);
  EXPECT_EQ(list.front().lpDDS, nullptr);
  DDDestroySurface(nullptr);
}
