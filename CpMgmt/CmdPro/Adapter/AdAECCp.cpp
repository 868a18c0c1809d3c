#include "CpMgmt/CmdPro/Adapter/AdAECCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Output/PavaneLog.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/LeView.h"
#include "PavUtil/Memory.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Event/ZprEventCaptureData.h"
#include "RaidManager/Zpr/Records/Event/ZprEventCaptureSettings.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"

namespace {

enum Action : unsigned char {
    ACTION_START = 1,
    ACTION_STOP = 2,
    ACTION_DISABLE = 3,
    ACTION_MODE = 4,
    ACTION_GET = 5,
    ACTION_SHOW = 6,
    ACTION_FILTER = 7,
    ACTION_CLEAR = 8,
};


void printText(const char* text)
{
    printMessage(MSG_TEXT, text);
}

// The firmware call of the actions that only send a control command; -1 for another action.
int control(Adapter* adapter, AdAECPo* request, const char** done)
{
    switch (request->getAction()) {
    case ACTION_START:
        *done = "Advanced Event Capture is started.\n";
        return adapter->startEventCapture(request->getValue());
    case ACTION_STOP:
        *done = "Advanced Event Capture is stopped.\n";
        return adapter->stopEventCapture();
    case ACTION_DISABLE:
        *done = "Advanced Event Capture is disabled.\n";
        return adapter->disableEventCapture();
    case ACTION_MODE:
        *done = "Advanced Event Capture mode is set.\n";
        return adapter->setEventCaptureMode(request->getMode());
    case ACTION_FILTER:
        *done = "Advanced Event Capture filter mask is set. \n";
        return adapter->setEventCaptureFilter(request->getSecondValue(), request->getOption());
    case ACTION_CLEAR:
        *done = "Advanced Event Capture mode filter mask is cleared. \n";
        return adapter->clearEventCaptureFilter(request->getSecondValue(), request->getOption());
    default:
        return -1;
    }
}

} // namespace

int AdAECCp::process(CpController* cpController, ParsedObject* request)
{
    CpQuietRefresh<CpStart<AdAECPo>> start(cpController, request, "AdAECPo *");
    if (!start)
        return -1;
    AdAECPo* own = start.request();
    Adapter* adapter = start.adapter();
    switch (own->getAction()) {
    case ACTION_GET:
        return copyToFile(adapter, own);
    case ACTION_SHOW:
        return showSettings(adapter);
    case ACTION_START:
    case ACTION_STOP:
    case ACTION_DISABLE:
    case ACTION_MODE:
    case ACTION_FILTER:
    case ACTION_CLEAR: {
        const char* done = "";
        if (control(adapter, own, &done) != 0)
            return -1;
        printText(done);
        return 0;
    }
    default:
        return 0;
    }
}

int AdAECCp::showSettings(Adapter* adapter)
{
    uint8_t settings[ZprEventCaptureSettings::SIZE] = {};
    if (adapter->getEventCaptureSettings(settings) != 0)
        return -1;
    const ZprEventCaptureSettings s(settings, sizeof settings);
    printText("Advanced Event Capture Settings: \n\n");
    printMessage(MSG_AEC_ENABLED, s.enabled() ? "Yes" : "No");
    printMessage(MSG_AEC_STATE, s.started() ? "Started" : "Stopped");
    printMessage(MSG_AEC_CAPTURE_MODE, s.fullMode() ? "Full" : "Continuous");
    printMessage(MSG_AEC_EVENTS_TO_CAPTURE, static_cast<int>(s.eventsToCapture()));
    printMessage(MSG_AEC_EVENTS_CAPTURED, static_cast<int>(s.eventsCaptured()));
    printMessage(MSG_AEC_SEGMENTS, static_cast<int>(s.segmentCount()));
    printMessage(MSG_AEC_HOST_FILTER, static_cast<int>(s.hostFilterMask()));
    printMessage(MSG_AEC_FIRMWARE_FILTER, static_cast<int>(s.firmwareFilterMask()));
    return 0;
}

int AdAECCp::copyToFile(Adapter* adapter, AdAECPo* request)
{
    const string fileName = request->getFileName();
    FileIO* io = FileIO::instance();
    FileHandle* file = io->open(fileName.c_str(), "wb");
    if (file == nullptr) {
        appLog(__FILE__, __LINE__, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, LOG_ID_FILE_OPEN_FAILED, fileName.c_str());
        printMessage(MSG_FILE_OPEN_FAILED, fileName.c_str());
        return -1;
    }
    uint8_t settings[ZprEventCaptureSettings::SIZE] = {};
    if (adapter->getEventCaptureSettings(settings) != 0) {
        io->close(file);
        return -1;
    }
    // Segments beyond the last one a mailbox byte can name would repeat the first ones.
    uint32_t segments = ZprEventCaptureSettings(settings, sizeof settings).segmentCount();
    if (segments > ZprEventCaptureData::MAX_SEGMENTS)
        segments = ZprEventCaptureData::MAX_SEGMENTS;
    uint8_t* segment = new (noThrowNew) uint8_t[ZprEventCaptureData::SIZE];
    if (segment == nullptr) {
        io->close(file);
        return -1;
    }
    bool written = true;
    for (uint32_t i = 0; i < segments && written; ++i) {
        std::memset(segment, 0, ZprEventCaptureData::SIZE);
        uint32_t returned = 0;
        // The mailbox carries the segment number in one byte.
        if (adapter->getEventCaptureData(segment, static_cast<uint8_t>(i), &returned) == STATUS_CAPTURE_RUNNING) {
            printText("Advanced Event Capture is not stopped.");
            printMessage(MSG_NEWLINE);
            delete[] segment;
            io->close(file);
            return -1;
        }
        written = io->write(segment, 1, ZprEventCaptureData::SIZE, file) == ZprEventCaptureData::SIZE;
    }
    delete[] segment;
    // A file that could not be written whole is not reported as captured.
    if (io->close(file) != 0 || !written) {
        appLog(__FILE__, __LINE__, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, LOG_ID_FILE_OPEN_FAILED, fileName.c_str());
        printMessage(MSG_FILE_WRITE_FAILED);
        return -1;
    }
    printText("Events are captured in the file ");
    printText(fileName.c_str());
    printText("\n");
    return 0;
}

namespace {

const CpRegistration<AdAECCp> registration;

} // namespace
