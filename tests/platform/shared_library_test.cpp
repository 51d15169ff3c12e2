// Shared libraries opened at run time, and the program's own folder.
#include "platform/shared_library.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(SharedLibrary, OpensFindsAndClosesTheBuiltPlugIn) {
  plat::SharedLibrary lib;
  ASSERT_TRUE(lib.Open(VOX_LIBRARY_FILE)) << lib.Error();
  EXPECT_TRUE(lib.IsOpen());
  EXPECT_NE(lib.Symbol("CreateVox"), nullptr);
  EXPECT_NE(lib.Symbol("VoxAttachHost"), nullptr);
  EXPECT_EQ(lib.Symbol("NoSuchEntry"), nullptr);
  EXPECT_NE(lib.Error().find("NoSuchEntry"), std::string::npos) << lib.Error();
  EXPECT_TRUE(lib.Close());
  EXPECT_FALSE(lib.IsOpen());
  EXPECT_FALSE(lib.Close());
  EXPECT_EQ(lib.Symbol("CreateVox"), nullptr);
}

TEST(SharedLibrary, AMissingLibraryFailsWithTheSystemsReasonKeptAfterClose) {
  plat::SharedLibrary lib;
  EXPECT_FALSE(lib.Open("/nonexistent/libvox.so"));
  EXPECT_FALSE(lib.IsOpen());
  EXPECT_NE(lib.Error().find("/nonexistent/libvox.so"), std::string::npos) << lib.Error();
  EXPECT_FALSE(lib.Close());
  EXPECT_NE(lib.Error().find("/nonexistent/libvox.so"), std::string::npos);
}

TEST(SharedLibrary, TheProgramsFolderHoldsTheProgram) {
  const std::string dir = plat::ProgramDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(dir + "/test_platform"));
}
