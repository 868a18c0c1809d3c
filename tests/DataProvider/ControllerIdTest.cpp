#include "DataProvider/ControllerId.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

namespace {

static_assert(std::is_abstract<ControllerId>::value, "an identifier is always of one form");
static_assert(std::has_virtual_destructor<ControllerId>::value, "identifiers are deleted through the base");

TEST(ControllerIdentifiers, LinuxIdentifierKeepsItsAddressing)
{
    LinuxCtrlId id(LINUX_DRIVER_SWR, 17, 0x80000003u);
    EXPECT_EQ(LINUX_DRIVER_SWR, id.getKind());
    EXPECT_EQ(17, id.getFd());
    EXPECT_EQ(0x80000003u, id.getHostNumber());

    LinuxCtrlId closed(LINUX_DRIVER_HWR, -1, 0);
    EXPECT_EQ(LINUX_DRIVER_HWR, closed.getKind());
    EXPECT_EQ(-1, closed.getFd());
}

TEST(ControllerIdentifiers, LibraryIdentifierKeepsTheLibrarysId)
{
    AkIr2CtrlId id(0xFFFFFFFFu, 255);
    EXPECT_EQ(0xFFFFFFFFu, id.getLibraryId());
}

TEST(ControllerIdentifiers, NumberIsUnassignedUntilSet)
{
    std::unique_ptr<ControllerId> ids[] = {
        std::unique_ptr<ControllerId>(new LinuxCtrlId(LINUX_DRIVER_HWR, 3, 0)),
        std::unique_ptr<ControllerId>(new AkIr2CtrlId(9, CONTROLLER_NUMBER_UNASSIGNED)),
    };
    for (auto& id : ids) {
        EXPECT_EQ(255, id->getNumber());
        id->setNumber(0);
        EXPECT_EQ(0, id->getNumber());
        id->setNumber(254);
        EXPECT_EQ(254, id->getNumber());
    }
    AkIr2CtrlId numbered(1, 4);
    EXPECT_EQ(4, numbered.getNumber());
}

int destroyed = 0;

class TrackedLinuxId : public LinuxCtrlId {
public:
    TrackedLinuxId() : LinuxCtrlId(LINUX_DRIVER_HWR, 5, 2) {}
    ~TrackedLinuxId() override { ++destroyed; }
};

class TrackedLibraryId : public AkIr2CtrlId {
public:
    TrackedLibraryId() : AkIr2CtrlId(7, 255) {}
    ~TrackedLibraryId() override { ++destroyed; }
};

// The dispatcher deletes identifiers through ControllerId pointers; under the address sanitizer
// a missing virtual destructor would also show as a new/delete size mismatch.
TEST(ControllerIdentifiers, DeletingThroughTheBaseRunsTheOwnDestructor)
{
    destroyed = 0;
    ControllerId* ids[] = {new TrackedLinuxId, new TrackedLibraryId};
    for (ControllerId* id : ids) {
        delete id;
    }
    EXPECT_EQ(2, destroyed);
}

} // namespace
