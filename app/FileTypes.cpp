#include "FileTypes.h"

namespace FileTypes {

std::vector<Ref<FileType>> pAllFileTypes;
Ref<FileType> pFlagObj;

Ref<FileType> FlagObj()
{
    return pFlagObj;
}

void _Initialize()
{
    pFlagObj = RuntimeCheckCast<FileType>(RuntimeNewObject(FileType::staticClassRecord()));
    pFlagObj->Name("Tarnia Flag");
    pFlagObj->Extensions("");
    pFlagObj->MacType("APPL");
    pFlagObj->MacCreator("Flag");
    pFlagObj->MimeType("");
    pFlagObj->Imported(true);
    pFlagObj->ConformsTo("");
    pAllFileTypes.push_back(pFlagObj);
    // Converting to text is what registers the type.
    (void)FlagObj()->Operator_Convert();
}

} // namespace FileTypes
