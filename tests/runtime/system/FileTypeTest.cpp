#include "system/FileType.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

int registrationsOf(const std::string& name)
{
    const auto& types = RuntimeRegisteredFileTypes();
    return static_cast<int>(std::count_if(types.begin(), types.end(), [&](const RegisteredFileType& type) { return type.name == name; }));
}

const RegisteredFileType* registrationOf(const std::string& name)
{
    for (const RegisteredFileType& type : RuntimeRegisteredFileTypes()) {
        if (type.name == name)
            return &type;
    }
    return nullptr;
}

Ref<FileType> flagType(const std::string& name)
{
    Ref<FileType> type = RuntimeCheckCast<FileType>(RuntimeNewObject(FileType::staticClassRecord()));
    type->Name(name);
    type->Extensions("");
    type->MacType("APPL");
    type->MacCreator("Flag");
    type->MimeType("application/x-flag");
    type->Imported(true);
    type->ConformsTo("public.data");
    return type;
}

} // namespace

TEST(FileType, ConvertingToTextRegistersItOnce)
{
    Ref<FileType> type = flagType("Tarnia Flag");
    EXPECT_FALSE(type->registered());
    EXPECT_EQ(registrationsOf("Tarnia Flag"), 0);

    EXPECT_EQ(type->Operator_Convert(), "Tarnia Flag");
    EXPECT_TRUE(type->registered());
    ASSERT_EQ(registrationsOf("Tarnia Flag"), 1);
    EXPECT_EQ(*registrationOf("Tarnia Flag"), (RegisteredFileType { "Tarnia Flag", "Flag", "APPL", "", "" }));

    EXPECT_EQ(type->Operator_Convert(), "Tarnia Flag");
    EXPECT_EQ(registrationsOf("Tarnia Flag"), 1);
}

TEST(FileType, ChangingARegisteredTypeWithdrawsIt)
{
    using Setter = void (*)(FileType&);
    const struct {
        const char* property;
        Setter set;
    } changes[] = {
        { "Extensions", [](FileType& type) { type.Extensions("flag"); } },
        { "MacType", [](FileType& type) { type.MacType("FLAG"); } },
        { "MacCreator", [](FileType& type) { type.MacCreator("Tarn"); } },
        { "MimeType", [](FileType& type) { type.MimeType(""); } },
        { "Imported", [](FileType& type) { type.Imported(false); } },
        { "ConformsTo", [](FileType& type) { type.ConformsTo(""); } },
        { "UTI", [](FileType& type) { type.UTI("org.example.flag"); } },
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.property);
        Ref<FileType> type = flagType("Changing Flag");
        type->Operator_Convert();
        change.set(*type);
        EXPECT_FALSE(type->registered());
        EXPECT_EQ(registrationsOf("Changing Flag"), 0);
    }

    // Renamed while registered: the old name goes, and the next conversion registers the new one.
    Ref<FileType> type = flagType("Old Name");
    type->Operator_Convert();
    type->Name("New Name");
    EXPECT_EQ(registrationsOf("Old Name"), 0);
    EXPECT_EQ(type->Operator_Convert(), "New Name");
    EXPECT_EQ(registrationsOf("New Name"), 1);
}
