#include "application/ApplicationIdentity.h"

#include <cerrno>

namespace {

ApplicationIdentity completed(ApplicationIdentity identity)
{
    if (identity.programName.empty())
        identity.programName = program_invocation_short_name;
    if (identity.cannotStart.empty())
        identity.cannotStart = identity.programName + " cannot start";
    return identity;
}

ApplicationIdentity& stored()
{
    static ApplicationIdentity identity = completed({});
    return identity;
}

} // namespace

const ApplicationIdentity& applicationIdentity()
{
    return stored();
}

void setApplicationIdentity(const ApplicationIdentity& identity)
{
    stored() = completed(identity);
}
