#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ControllerMgmt/AkIr2ControllerMgmt.h"
#include "ControllersTestSupport.h"
#include "DataProvider/ArraykitIr2Dp.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DpParams.h"
#include "Output/VoPrint.h"
#include "System/SystemLinux.h"

using ctltest::BoundaryScope;
using ctltest::TempDir;

namespace {

// ---- a library entry of the test's own, reached through a stand-in for the OS services ----

struct SeenBlock {
    unsigned type;
    unsigned code;
    unsigned controller;
    unsigned length;
    bool hasData;
};
std::vector<SeenBlock> seenBlocks;
int initStatus = 0;
int commandResult = 0;

int fakeEntry(_AK_LIB_CMD_PARAM_T* block)
{
    seenBlocks.push_back({block->cmdType, block->cmdCode, block->ctrlId, block->dataLength, block->data != nullptr});
    if (block->cmdType == 0 && block->cmdCode == 0)
        return initStatus;
    return commandResult;
}

class FakeSystem : public System {
public:
    bool haveLibrary = true;
    bool haveEntry = true;
    int closes = 0;
    std::string loadedName;
    std::string symbolName;
    int handleObject = 0;

    void* loadLibrary(const apstring& name) override
    {
        loadedName = name.c_str();
        return haveLibrary ? &handleObject : nullptr;
    }
    int closeLibrary(void* handle) override
    {
        EXPECT_EQ(handle, &handleObject);
        ++closes;
        return 0;
    }
    void* findSymbol(void*, const apstring& symbol) override
    {
        symbolName = symbol.c_str();
        return haveEntry ? reinterpret_cast<void*>(&fakeEntry) : nullptr;
    }
    void writeSyslog(int, int, ...) override {}
    int sleepSeconds(int) override { return 0; }
    string binDirectory() override { return string("/usr/bin"); }
    int localIpv4Address(unsigned char*) override { return -1; }
    string getEnvironment(const apstring&) override { return string(); }
};

_AK_LIB_CMD_PARAM_T block(uint8_t type, uint8_t code, uint32_t controller)
{
    _AK_LIB_CMD_PARAM_T b;
    memset(&b, 0, sizeof b);
    b.cmdType = type;
    b.cmdCode = code;
    b.ctrlId = controller;
    return b;
}

class FakeLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        seenBlocks.clear();
        initStatus = 0;
        commandResult = 0;
    }
    FakeSystem system;
};

// ---- the stand-in library of the simulated host, found through the library search places ----

class LibraryPlaces : public OsBoundary {
public:
    explicit LibraryPlaces(const std::string& dir) : pattern(dir + "/lib%s.so") {}
    const char* libraryPathPattern(int attempt) override
    {
        return attempt >= 0 && attempt < 3 ? pattern.c_str() : nullptr;
    }
    std::string pattern;
};

#ifdef QUILL_IR2_STANDIN_DIR
const char* const standInDir = QUILL_IR2_STANDIN_DIR;
#else
const char* const standInDir = "";
#endif

// A host directory whose state.json configures the stand-in.
class StandInHost {
public:
    explicit StandInHost(const std::string& library)
    {
        dir.write("state.json", "{\"ir2Library\": " + library + "}\n");
        const char* old = getenv("QUILLCLI_SIM_HOST");
        had = old != nullptr;
        if (had)
            saved = old;
        setenv("QUILLCLI_SIM_HOST", dir.path().c_str(), 1);
    }
    ~StandInHost()
    {
        if (had)
            setenv("QUILLCLI_SIM_HOST", saved.c_str(), 1);
        else
            unsetenv("QUILLCLI_SIM_HOST");
    }
    std::string commands() const { return ctltest::readText(dir.path() + "/commands.log"); }
    std::string lastCommand() const
    {
        std::string log = commands();
        size_t end = log.rfind('\n');
        size_t start = log.rfind('\n', end - 1);
        return log.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1));
    }

    TempDir dir;

private:
    bool had = false;
    std::string saved;
};

// The process-wide bridge is made once; it is made here, with the stand-in in the search place.
ArraykitIr2Dp* processBridge()
{
    static ArraykitIr2Dp* bridge = [] {
        LibraryPlaces places(standInDir);
        BoundaryScope scope(&places);
        StandInHost host("{}");
        return ArraykitIr2Dp::instance();
    }();
    return bridge;
}

std::vector<uint32_t> libraryIds(ArrayList<ControllerId*>* ids)
{
    std::vector<uint32_t> out;
    if (ids == nullptr)
        return out;
    for (unsigned char i = 0; i < ids->count(); ++i) {
        AkIr2CtrlId* id = dynamic_cast<AkIr2CtrlId*>(ids->get(i));
        EXPECT_NE(id, nullptr);
        if (id != nullptr) {
            EXPECT_EQ(id->getNumber(), 255);
            out.push_back(id->getLibraryId());
        }
    }
    return out;
}

} // namespace

TEST_F(FakeLibrary, BridgeLoadsAndInitializesTheLibraryOnce)
{
    {
        ArraykitIr2Dp bridge(AK_IR2_LIBRARY_NAME, AK_IR2_ENTRY_NAME, &system);
        EXPECT_EQ(system.loadedName, "arraykitir-2");
        EXPECT_EQ(system.symbolName, "ProcessLibCommandIR2");
        EXPECT_TRUE(bridge.isLoaded());
        EXPECT_EQ(bridge.getCurrentId(), 0u);
        ASSERT_EQ(seenBlocks.size(), 1u);
        EXPECT_EQ(seenBlocks[0].type, 0u);
        EXPECT_EQ(seenBlocks[0].code, 0u);
        EXPECT_EQ(seenBlocks[0].length, 68u);
        EXPECT_TRUE(seenBlocks[0].hasData);

        for (uint8_t kind = 0; kind < 8; ++kind)
            EXPECT_EQ(bridge.supports(kind), kind == DP_KIND_AK_IR2) << int(kind);
    }
    EXPECT_EQ(system.closes, 1);
}

TEST_F(FakeLibrary, ControllerCommandsGoToTheCurrentController)
{
    ArraykitIr2Dp bridge(AK_IR2_LIBRARY_NAME, AK_IR2_ENTRY_NAME, &system);
    bridge.setCurrentId(3);
    commandResult = 0x12345;   // passed through whole, not cut to 16 bits

    _AK_LIB_CMD_PARAM_T controllerCommand = block(11, 4, 7);
    ArraykitIr2DpParams request(&controllerCommand);
    EXPECT_EQ(bridge.execute(&request), 0x12345);
    EXPECT_EQ(seenBlocks.back().controller, 3u);

    _AK_LIB_CMD_PARAM_T otherCommand = block(1, 4, 7);
    ArraykitIr2DpParams other(&otherCommand);
    EXPECT_EQ(bridge.execute(&other), 0x12345);
    EXPECT_EQ(seenBlocks.back().controller, 7u);

    // Through a library controller: the bridge is its only provider.
    AkIr2CtrlId id(9, 255);
    AkIr2Controller controller(&id);
    controller.addDataProvider(&bridge);
    commandResult = 0x6001;
    EXPECT_EQ(controller.execute(&request), 0x6001);
    EXPECT_EQ(request.controllerId(), &id);
    DcmdZprDpParams firmware(0x01010000, 0u, 0u, 0u, nullptr, 0, 0, 0);
    size_t before = seenBlocks.size();
    EXPECT_EQ(controller.execute(&firmware), -1);   // never reaches the library
    EXPECT_EQ(seenBlocks.size(), before);

    // Requests the bridge cannot carry.
    ArraykitIr2DpParams empty(nullptr);
    EXPECT_EQ(bridge.execute(&empty), -1);
    EXPECT_EQ(bridge.execute(&firmware), -1);
    EXPECT_EQ(bridge.execute(nullptr), -1);
}

TEST_F(FakeLibrary, UnloadedBridgeRefusesCommands)
{
    _AK_LIB_CMD_PARAM_T command = block(1, 1, 0);
    ArraykitIr2DpParams request(&command);

    initStatus = 5;
    {
        ArraykitIr2Dp failedInit(AK_IR2_LIBRARY_NAME, AK_IR2_ENTRY_NAME, &system);
        EXPECT_FALSE(failedInit.isLoaded());
        EXPECT_EQ(failedInit.execute(&request), -1);
        commandResult = 9;
        EXPECT_EQ(failedInit.call(&command), 9);   // the entry is still reachable directly
    }

    system.haveEntry = false;
    testsupport::StreamCapture captured;
    {
        ArraykitIr2Dp noEntry(AK_IR2_LIBRARY_NAME, AK_IR2_ENTRY_NAME, &system);
        EXPECT_FALSE(noEntry.isLoaded());
        EXPECT_EQ(noEntry.execute(&request), -1);
        EXPECT_EQ(noEntry.call(&command), 1);
        EXPECT_TRUE(noEntry.supports(DP_KIND_AK_IR2));
    }
    EXPECT_EQ(captured.take(), "");

    ArraykitIr2Dp noServices(AK_IR2_LIBRARY_NAME, AK_IR2_ENTRY_NAME, nullptr);
    EXPECT_EQ(noServices.execute(&request), -1);
    EXPECT_EQ(noServices.call(&command), 1);
}

TEST(StandInLibrary, MissingLibraryPrintsTheLoaderMessageOnce)
{
    TempDir empty;
    LibraryPlaces places(empty.path());
    BoundaryScope scope(&places);
    testsupport::StreamCapture captured;
    ArraykitIr2Dp bridge(AK_IR2_LIBRARY_NAME, AK_IR2_ENTRY_NAME, SystemLinux::instance());
    std::string printed = captured.take();
    EXPECT_FALSE(bridge.isLoaded());
    EXPECT_NE(printed.find("libarraykitir-2.so"), std::string::npos) << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    _AK_LIB_CMD_PARAM_T command = block(11, 1, 0);
    ArraykitIr2DpParams request(&command);
    EXPECT_EQ(bridge.execute(&request), -1);
    EXPECT_TRUE(bridge.supports(DP_KIND_AK_IR2));
}

TEST(StandInLibrary, ControllersComeFromTheLibraryList)
{
    ASSERT_STRNE(standInDir, "");
    ArraykitIr2Dp* bridge = processBridge();
    ASSERT_NE(bridge, nullptr);
    ASSERT_TRUE(bridge->isLoaded());
    ctltest::KeepSupportedDevices keep;
    AkIr2ControllerMgmt* mgmt = AkIr2ControllerMgmt::instance(0);

    StandInHost host(R"({"controllers": [5, 9], "commands": [{"type": 11, "code": 3, "status": "0x6001"}]})");
    ArrayList<ControllerId*>* ids = mgmt->detect();
    EXPECT_EQ(libraryIds(ids), (std::vector<uint32_t>{5, 9}));
    EXPECT_EQ(bridge->getCurrentId(), 5u);
    EXPECT_EQ(host.lastCommand(), "ir2 type=0 code=10 controller=0 length=68 status=0x0");

    ArrayList<Controller*>* controllers = mgmt->createControllers(ids);
    ASSERT_NE(controllers, nullptr);
    ASSERT_EQ(controllers->count(), 2);
    Controller* second = controllers->get(1);
    EXPECT_EQ(second->type(), 14);
    EXPECT_EQ(second->controllerId(), ids->get(1));

    // A controller command reaches the library's current controller with the library's status.
    _AK_LIB_CMD_PARAM_T command = block(11, 3, 9);
    ArraykitIr2DpParams request(&command);
    EXPECT_EQ(second->execute(&request), 0x6001);
    EXPECT_EQ(host.lastCommand(), "ir2 type=11 code=3 controller=5 length=0 status=0x6001");

    for (unsigned char i = 0; i < controllers->count(); ++i)
        controllers->get(i)->release();
    delete controllers;
    ctltest::deleteIds(ids);

    EXPECT_EQ(AkIr2Cddp::instance()->getCddpData(nullptr), nullptr);
    EXPECT_EQ(mgmt->createController(nullptr), nullptr);
}

TEST(StandInLibrary, ListCountIsClampedToTheAnswer)
{
    ArraykitIr2Dp* bridge = processBridge();
    ASSERT_NE(bridge, nullptr);
    ctltest::KeepSupportedDevices keep;
    std::string ids;
    for (int i = 0; i < 20; ++i)
        ids += (i ? "," : "") + std::to_string(100 + i);
    StandInHost host("{\"controllers\": [" + ids + "]}");
    ArrayList<ControllerId*>* list = AkIr2ControllerMgmt::instance(0)->detect();
    std::vector<uint32_t> expected;
    for (uint32_t i = 0; i < 16; ++i)
        expected.push_back(100 + i);
    EXPECT_EQ(libraryIds(list), expected);
    ctltest::deleteIds(list);

    StandInHost overstated(R"({"controllers": [1, 2], "count": 4000})");
    list = AkIr2ControllerMgmt::instance(0)->detect();
    EXPECT_EQ(libraryIds(list).size(), 16u);
    ctltest::deleteIds(list);
}

TEST(StandInLibrary, EmptyOrFailedListGivesNoIdentifiers)
{
    ArraykitIr2Dp* bridge = processBridge();
    ASSERT_NE(bridge, nullptr);
    ctltest::KeepSupportedDevices keep;
    FILE* screen = tmpfile();
    ASSERT_NE(screen, nullptr);
    VoPrint* printer = VoPrint::instance();
    unsigned char savedMode = printer->getMode();
    printer->setMode(VOPRINT_MODE_SCREEN);
    printer->setConsoleStreams(screen, nullptr);

    {
        StandInHost empty("{}");
        EXPECT_EQ(AkIr2ControllerMgmt::instance(0)->detect(), nullptr);
    }
    {
        StandInHost failing(R"({"controllers": [1], "listStatus": 5})");
        EXPECT_EQ(AkIr2ControllerMgmt::instance(0)->detect(), nullptr);
    }

    printer->setConsoleStreams(nullptr, nullptr);
    printer->setMode(savedMode);
    rewind(screen);
    char text[128] = "";
    size_t n = fread(text, 1, sizeof text - 1, screen);
    fclose(screen);
    EXPECT_EQ(std::string(text, n), "\n Internal Error. \n");
}
