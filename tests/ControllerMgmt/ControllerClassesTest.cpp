#include <gtest/gtest.h>

#include <vector>

#include "ControllerMgmt/AkIr2ControllerMgmt.h"
#include "ControllerMgmt/ControllerClasses.h"
#include "ControllerMgmt/ControllerMgmt.h"
#include "ControllerMgmt/LinuxControllerMgmt.h"
#include "ControllersTestSupport.h"
#include "DataProvider/AkLibCommand.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DataProvider.h"
#include "DataProvider/DpParams.h"

namespace {

std::vector<uint16_t> codesOf(Controller& controller)
{
    std::vector<uint16_t> codes;
    ControllerTypeList* list = controller.typeList();
    for (uint16_t i = 0; i < list->count(); ++i)
        codes.push_back(list->get(i));
    return codes;
}

// A provider that accepts one kind and answers a fixed result, recording what it ran.
class RecordingProvider : public DataProvider {
public:
    RecordingProvider(uint8_t kind, int result) : kind(kind), result(result) {}
    int execute(DpParams* request) override
    {
        ++runs;
        lastId = request->controllerId();
        return result;
    }
    bool supports(uint8_t k) override { return k == kind; }

    uint8_t kind;
    int result;
    int runs = 0;
    ControllerId* lastId = nullptr;
};

} // namespace

TEST(ControllerClasses, TypeListsFollowTheClassTree)
{
    LinuxCtrlId linuxId(0, 5, 2);
    OrvaneSasHwrController sas(&linuxId);
    EXPECT_EQ(codesOf(sas), (std::vector<uint16_t>{0, 1, 4, 2, 5, 10, 11, 7}));
    EXPECT_EQ(sas.type(), 7);
    EXPECT_EQ(sas.name().c_str(), std::string("Orvane Sas Controller"));
    EXPECT_EQ(sas.vendorName().c_str(), std::string("Orvane"));
    EXPECT_EQ(sas.adapterNumberBase(), 0);
    EXPECT_EQ(sas.controllerId(), &linuxId);

    AkIr2CtrlId libraryId(5, 255);
    AkIr2Controller library(&libraryId);
    EXPECT_EQ(codesOf(library), (std::vector<uint16_t>{0, 1, 14}));
    EXPECT_EQ(library.type(), 14);
    EXPECT_EQ(library.name().c_str(), std::string("Arraykit Ir2 Controller"));
    EXPECT_EQ(library.vendorName().c_str(), std::string("Orvane"));
    EXPECT_EQ(library.adapterNumberBase(), 0);
    EXPECT_EQ(library.matchType(sas.typeList()), 0);

    // Past the count a type list answers 255.
    EXPECT_EQ(library.typeList()->get(3), 255);
    EXPECT_EQ(library.typeList()->get(2), 14);
}

TEST(ControllerClasses, MatchTypeWalksFromTheMostDerivedCode)
{
    struct Case {
        std::vector<uint16_t> wanted;
        uint16_t expected;
    };
    const Case cases[] = {
        {{0, 5}, 5},
        {{3}, 255},
        {{1, 10}, 10},
        {{0, 7}, 7},
        {{}, 255},
        {{4, 2}, 2},   // 2 was pushed after 4
    };
    OrvaneSasHwrController sas(nullptr);
    for (const Case& c : cases) {
        ControllerTypeList wanted(32);
        for (uint16_t code : c.wanted)
            wanted.push(code);
        EXPECT_EQ(sas.matchType(&wanted), c.expected) << "first wanted " << (c.wanted.empty() ? -1 : c.wanted[0]);
    }
    EXPECT_EQ(sas.matchType(nullptr), 255);
}

TEST(ControllerClasses, TypeListIgnoresPushesBeyondCapacity)
{
    ControllerTypeList list(2);
    list.push(1);
    list.push(2);
    list.push(3);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.get(1), 2);
    EXPECT_EQ(list.get(2), 255);
}

TEST(ControllerClasses, ExecuteUsesTheFirstProviderOfTheKind)
{
    LinuxCtrlId id(0, 5, 2);
    OrvaneSasHwrController controller(&id);
    DcmdZprDpParams request(0x01010000, 0u, 0u, 0u, nullptr, 0, 0, 0);

    // No provider at all: nothing is sent.
    EXPECT_EQ(controller.execute(&request), -1);
    EXPECT_EQ(controller.execute(nullptr), -1);

    RecordingProvider library(DP_KIND_AK_IR2, 7);
    RecordingProvider first(DP_KIND_DCMD, 0x6001);
    RecordingProvider second(DP_KIND_DCMD, 3);
    controller.addDataProvider(&library);
    controller.addDataProvider(nullptr);
    controller.addDataProvider(&first);
    controller.addDataProvider(&second);

    EXPECT_EQ(controller.execute(&request), 0x6001);
    EXPECT_EQ(library.runs, 0);
    EXPECT_EQ(first.runs, 1);
    EXPECT_EQ(second.runs, 0);
    EXPECT_EQ(first.lastId, &id);
    EXPECT_EQ(request.controllerId(), &id);

    // A kind no provider carries.
    DriverZprDPParams driver(0xF0010000, 0u, 0u, 0u, nullptr, 0, 0, 0);
    EXPECT_EQ(controller.execute(&driver), -1);
}

TEST(ControllerClasses, DetectListAnswersTheFirstClaim)
{
    struct Answers {
        static uint16_t none(CddpData*) { return 255; }
        static uint16_t nine(CddpData*) { return 9; }
        static uint16_t three(CddpData*) { return 3; }
    };
    ControllerDetectMethodList list;
    CddpData data(0, 0, 0, 0);
    EXPECT_EQ(list.detect(&data), 255);
    list.add(makeFunctor(&Answers::none));
    EXPECT_EQ(list.detect(&data), 255);
    list.add(makeFunctor(&Answers::nine));
    list.add(makeFunctor(&Answers::three));
    EXPECT_EQ(list.detect(&data), 9);

    for (int i = 0; i < 40; ++i)
        list.add(makeFunctor(&Answers::three));
    EXPECT_EQ(list.count(), 32);
}

TEST(ControllerClasses, RegistrationRunsOnceAndFillsTheChain)
{
    ctltest::KeepSupportedDevices keep;
    LinuxControllerMgmt::instance();
    AkIr2ControllerMgmt::instance(0);
    LinuxControllerMgmt second;   // a further management object registers nothing again

    ASSERT_NE(ControllerMgmt::vendorDeviceIds(), nullptr);
    EXPECT_EQ(ControllerMgmt::vendorDeviceIds()->count(), 14);

    // Every controller of the Linux driver is an OrvaneSasHwrController, whatever its ids.
    CddpData any(0x1234, 0x5678, 0x9abc, 0xdef0);
    EXPECT_EQ(Controller::detectType(&any), 7);
    EXPECT_EQ(OrvaneController::detect(&any), 7);
    EXPECT_EQ(AkIr2Controller::detect(&any), 14);

    ControllerFactory* factory = ControllerFactory::instance();
    EXPECT_EQ(factory->create(14, nullptr), nullptr);   // the library's controllers have no creator
    EXPECT_EQ(factory->create(32, nullptr), nullptr);
    EXPECT_EQ(factory->create(0, nullptr), nullptr);
    LinuxCtrlId id(0, 3, 1);
    Controller* made = factory->create(7, &id);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->type(), 7);
    EXPECT_EQ(made->controllerId(), &id);
    Controller::release(made);
    Controller::release(nullptr);
}

TEST(ControllerClasses, CreateControllersSkipsIdsWithoutController)
{
    class HalfMgmt : public ControllerMgmt {
    public:
        ArrayList<ControllerId*>* detect() override { return nullptr; }
        Controller* createController(ControllerId* id) override
        {
            AkIr2CtrlId* libraryId = static_cast<AkIr2CtrlId*>(id);
            return libraryId->getLibraryId() % 2 == 0 ? AkIr2Controller::create(id) : nullptr;
        }
    };
    ctltest::KeepSupportedDevices keep;
    HalfMgmt mgmt;

    EXPECT_EQ(mgmt.createControllers(nullptr), nullptr);
    ArrayList<ControllerId*> empty(4);
    EXPECT_EQ(mgmt.createControllers(&empty), nullptr);

    AkIr2CtrlId a(1, 255), b(2, 255), c(3, 255), d(4, 255);
    ArrayList<ControllerId*> odd(2);
    odd.add(&a);
    odd.add(&c);
    ArrayList<Controller*>* none = mgmt.createControllers(&odd);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->count(), 0);
    delete none;

    ArrayList<ControllerId*> mixed(4);
    mixed.add(&a);
    mixed.add(&b);
    mixed.add(&c);
    mixed.add(&d);
    ArrayList<Controller*>* made = mgmt.createControllers(&mixed);
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(made->count(), 2);
    EXPECT_EQ(made->get(0)->controllerId(), &b);
    EXPECT_EQ(made->get(1)->controllerId(), &d);
    for (unsigned char i = 0; i < made->count(); ++i)
        made->get(i)->release();
    delete made;
}
