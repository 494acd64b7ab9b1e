#include "AppTestSupport.h"

#include "FileTypes.h"
#include "system/FileType.h"

#include <gtest/gtest.h>

namespace {

const RegisteredFileType kTarniaFlag { .name = "Tarnia Flag", .creator = "Flag", .type = "APPL", .extensions = "", .uti = "" };

TEST(FileTypes, EarlyStartUpRegistersTheOneTypeOnce)
{
    RuntimePerformInitializers(kApplicationInitializers);
    EXPECT_TRUE(FileTypes::pAllFileTypes.empty());
    EXPECT_FALSE(FileTypes::FlagObj());
    EXPECT_TRUE(RuntimeRegisteredFileTypes().empty());

    RuntimeSetExceptionHelper(&CallWithExceptionHandling);
    _EarlyStartup();

    EXPECT_EQ(RuntimeRegisteredFileTypes(), std::vector<RegisteredFileType> { kTarniaFlag });
    ASSERT_EQ(FileTypes::pAllFileTypes.size(), 1u);
    Ref<FileType> type = FileTypes::FlagObj();
    ASSERT_TRUE(type);
    EXPECT_EQ(FileTypes::pAllFileTypes[0], type);
    EXPECT_TRUE(type->registered());
    // Kept on the object, though the registration does not carry them.
    EXPECT_EQ(type->MimeType(), "");
    EXPECT_TRUE(type->Imported());
    EXPECT_EQ(type->ConformsTo(), "");
    EXPECT_EQ(type->UTI(), "");
}

TEST(FileTypes, ConvertingTheRegisteredTypeAgainRegistersNothing)
{
    test::launchApplication();
    Ref<FileType> type = FileTypes::FlagObj();
    // A second registration of the name would be refused with an exception.
    EXPECT_EQ(type->Operator_Convert(), "Tarnia Flag");
    EXPECT_EQ(RuntimeRegisteredFileTypes(), std::vector<RegisteredFileType> { kTarniaFlag });
    EXPECT_EQ(FileTypes::pAllFileTypes.size(), 1u);
    EXPECT_TRUE(type->registered());
}

} // namespace
