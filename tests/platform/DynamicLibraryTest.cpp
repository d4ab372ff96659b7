#include "platform/DynamicLibrary.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using zir::platform::DynamicLibrary;

TEST(DynamicLibrary, LoadsAndFindsExportsByName) {
    std::string error;
    auto library = DynamicLibrary::Load(zir::test::SimulatedReaderLibrary(), error);
    ASSERT_TRUE(library.IsLoaded()) << error;
    EXPECT_NE(library.Symbol("SDT_SelectIDCard"), nullptr);
    EXPECT_EQ(library.Symbol("NoSuchFunction"), nullptr);
}

TEST(DynamicLibrary, MissingFileGivesAReason) {
    zir::test::TempDir dir;
    std::string error;
    auto library = DynamicLibrary::Load(dir.File("None.dll"), error);
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(library.Symbol("anything"), nullptr);
}
