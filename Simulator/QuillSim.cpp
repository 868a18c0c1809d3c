#include "Simulator/QuillSim.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "Simulator/Description/SimDescription.h"
#include "Simulator/Description/SimPresets.h"
#include "Simulator/Firmware/SimConsistency.h"
#include "Simulator/SimLayout.h"
#include "Simulator/SimState.h"

namespace {

const int EXIT_OK = 0;
const int EXIT_FAILED = 1;
const int EXIT_USAGE = 2;

int usage(const std::string& why)
{
    if (!why.empty())
        fprintf(stderr, "quillsim: %s\n", why.c_str());
    fprintf(stderr,
            "usage: quillsim create DIR [--preset NAME | --from FILE.json]\n"
            "       quillsim show DIR\n"
            "       quillsim fault DIR status OPCODE STATUS | ioctl [RETURN] [--errno N] |\n"
            "                          short OPCODE BYTES | corrupt OPCODE OFFSET HEXBYTES |\n"
            "                          missing-driver | json FAULT | clear\n"
            "                          file PATH [write | close] [no-space | io]\n"
            "                      [--opcode OP] [--host N] [--driver KIND] [--mailbox OFFSET=HEXBYTES]...\n"
            "                      [--once | --times N | --from N]\n"
            "       quillsim advance DIR SECONDS\n"
            "presets:");
    for (const std::string& p : sim::SimPresets::names())
        fprintf(stderr, " %s", p.c_str());
    fprintf(stderr, "\n");
    return EXIT_USAGE;
}

// The integrated-RAID library stand-in is built next to quillsim; a copy in the host's lib/ is
// where the simulated library search finds it. A quillsim without the library beside it makes
// hosts without the library, as on a server where it is not installed. 0, or -1 with a message.
int installIntegratedRaidLibrary(const std::string& dir)
{
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return 0;
    exe[n] = '\0';
    std::string source(exe);
    source = source.substr(0, source.rfind('/') + 1) + sim::INTEGRATED_RAID_LIBRARY_FILE;
    std::ifstream in(source, std::ios::binary);
    if (!in)
        return 0;
    const std::string target = dir + "/lib/" + sim::INTEGRATED_RAID_LIBRARY_FILE;
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    out.close();
    if (!out || chmod(target.c_str(), 0755) != 0) {
        fprintf(stderr, "quillsim: cannot create %s\n", target.c_str());
        return -1;
    }
    return 0;
}

// Reads a description file; false with a message on standard error.
bool readDescriptionFile(const std::string& file, sim::HostModel& out)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        fprintf(stderr, "quillsim: cannot read %s: %s\n", file.c_str(), strerror(errno));
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    if (!sim::readDescription(text, out, error)) {
        fprintf(stderr, "quillsim: %s: %s\n", file.c_str(), error.c_str());
        return false;
    }
    return true;
}

int create(const std::vector<std::string>& args)
{
    sim::HostModel state;
    if (args.size() == 2) {
        sim::SimPresets::state("one", state);
    } else if (args.size() == 4 && args[2] == "--preset") {
        if (!sim::SimPresets::state(args[3], state))
            return usage("unknown preset \"" + args[3] + "\"");
    } else if (args.size() == 4 && args[2] == "--from") {
        if (!readDescriptionFile(args[3], state))
            return EXIT_FAILED;
    } else {
        return usage("create takes DIR and an optional --preset NAME or --from FILE.json");
    }
    // A configuration the firmware answers could not agree on is refused before anything is made.
    for (size_t i = 0; i < state.controllers.size(); ++i) {
        const std::string wrong = sim::checkConfiguration(state.controllers[i]);
        if (!wrong.empty()) {
            fprintf(stderr, "quillsim: %s: controllers[%zu]: %s\n", args.size() == 4 ? args[3].c_str() : "one", i,
                    wrong.c_str());
            return EXIT_FAILED;
        }
    }
    if (sim::SimLayout::create(args[1], state) != 0)
        return EXIT_FAILED;
    return installIntegratedRaidLibrary(args[1]) == 0 ? EXIT_OK : EXIT_FAILED;
}

int show(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        return usage("show takes DIR");
    sim::SimState st(args[1]);
    if (st.load() != 0)
        return EXIT_FAILED;
    fputs(sim::writeDescription(st.model()).c_str(), stdout);
    return EXIT_OK;
}

bool number(const std::string& text, uint64_t& out, uint64_t max)
{
    return sim::parseU64(text, out) && out <= max;
}

// Takes the next argument as a number into `field` (at most `max`); false when there is none.
template <typename T>
bool positional(const std::vector<std::string>& args, size_t& i, T& field, uint64_t max)
{
    uint64_t v = 0;
    if (i >= args.size() || args[i].compare(0, 2, "--") == 0 || !number(args[i], v, max))
        return false;
    field = static_cast<T>(v);
    ++i;
    return true;
}

// Fills the fault's type and what it does from args[2] on; "" or what is wrong. `i` ends at
// the first option.
std::string faultAction(const std::vector<std::string>& args, size_t& i, sim::Fault& f)
{
    const std::string& type = args[2];
    uint32_t opcode = 0;
    uint8_t status = 0;
    uint32_t bytes = 0;
    if (type == "status") {
        f.type = sim::FaultType::STATUS;
        if (!positional(args, i, opcode, 0xFFFFFFFFu) || !positional(args, i, status, 0xFF))
            return "status takes OPCODE STATUS (a status is one byte)";
        f.status = status;
    } else if (type == "short") {
        f.type = sim::FaultType::SHORT;
        if (!positional(args, i, opcode, 0xFFFFFFFFu) || !positional(args, i, bytes, 0xFFFFFFFFu))
            return "short takes OPCODE BYTES";
        f.bytes = bytes;
    } else if (type == "corrupt") {
        f.type = sim::FaultType::CORRUPT;
        if (!positional(args, i, opcode, 0xFFFFFFFFu) || !positional(args, i, f.offset, 0xFFFFFFFFu) ||
            i >= args.size() || !sim::parseHex(args[i++], f.data) || f.data.empty())
            return "corrupt takes OPCODE OFFSET HEXBYTES";
    } else if (type == "ioctl") {
        f.type = sim::FaultType::IOCTL;
        int64_t rc = -1;
        if (i < args.size() && args[i].compare(0, 2, "--") != 0) {
            if (!sim::parseI64(args[i], rc) || rc < INT32_MIN || rc > INT32_MAX)
                return "ioctl takes an integer RETURN";
            ++i;
        }
        f.returnValue = static_cast<int32_t>(rc);
    } else if (type == "missing-driver") {
        f.type = sim::FaultType::MISSING_DRIVER;
    } else {
        return "unknown fault type \"" + type + "\"";
    }
    if (type == "status" || type == "short" || type == "corrupt")
        f.opcode = opcode;
    return "";
}

// "OFFSET=HEXBYTES" (as "0=01" or "0x4=0800"), a run of bytes within the 12 mailbox bytes that
// the fault's commands must hold; added to the fault's others.
bool mailboxBytes(const std::string& text, sim::Patch& mailbox)
{
    const size_t eq = text.find('=');
    uint64_t offset = 0;
    sim::Bytes bytes;
    if (eq == std::string::npos || !sim::parseU64(text.substr(0, eq), offset) ||
        !sim::parseHex(text.substr(eq + 1), bytes) || bytes.empty() || offset >= sim::FAULT_MAILBOX_SIZE ||
        offset + bytes.size() > sim::FAULT_MAILBOX_SIZE)
        return false;
    mailbox[static_cast<uint32_t>(offset)] = bytes;
    return true;
}

// Builds the fault of `quillsim fault DIR ...` from args[2] on; "" or what is wrong.
std::string parseFault(const std::vector<std::string>& args, sim::Fault& f)
{
    size_t i = 3;
    std::string problem = faultAction(args, i, f);
    if (!problem.empty())
        return problem;
    for (; i < args.size(); ++i) {
        const std::string& opt = args[i];
        size_t next = i + 1;
        uint32_t value = 0;
        if (opt == "--once") {
            f.mode = sim::FaultMode::ONCE;
        } else if ((opt == "--times" || opt == "--from") && positional(args, next, f.count, 0xFFFFFFFFu)) {
            f.mode = opt == "--times" ? sim::FaultMode::TIMES : sim::FaultMode::FROM;
        } else if (opt == "--opcode" && positional(args, next, value, 0xFFFFFFFFu)) {
            f.opcode = value;
        } else if (opt == "--mailbox" && next < args.size() && mailboxBytes(args[next++], f.mailbox)) {
        } else if (opt == "--host" && positional(args, next, value, 0xFFFF)) {
            f.host = static_cast<uint16_t>(value);
        } else if (opt == "--driver" && positional(args, next, value, 1)) {
            f.driverKind = static_cast<int>(value);
        } else if (opt == "--errno" && f.type == sim::FaultType::IOCTL && positional(args, next, value, 4095)) {
            f.errnoValue = static_cast<int32_t>(value);
        } else {
            return "unexpected \"" + opt + "\"";
        }
        if (opt != "--once")
            i = next - 1;
    }
    return sim::checkFault(f);
}

// Builds the file fault of `quillsim fault DIR file PATH [write|close] [no-space|io]`; "" or
// what is wrong.
std::string parseFileFault(const std::vector<std::string>& args, sim::FileFault& f)
{
    if (args.size() < 4 || args[3].empty())
        return "file takes PATH";
    f.path = args[3];
    for (size_t i = 4; i < args.size(); ++i) {
        if (args[i] == "write" || args[i] == "close")
            f.fail = args[i] == "write" ? sim::FileFailure::WRITE : sim::FileFailure::CLOSE;
        else if (args[i] == "no-space" || args[i] == "io")
            f.error = args[i] == "no-space" ? sim::FileError::NO_SPACE : sim::FileError::IO;
        else
            return "unexpected \"" + args[i] + "\"";
    }
    return "";
}

int fault(const std::vector<std::string>& args)
{
    if (args.size() < 3)
        return usage("fault takes DIR and a fault");
    sim::SimState st(args[1]);
    if (st.load() != 0)
        return EXIT_FAILED;
    std::vector<sim::Fault>& faults = st.model().faults;
    if (args[2] == "clear") {
        if (args.size() != 3)
            return usage("clear takes nothing more");
        faults.clear();
        st.model().fileFaults.clear();
    } else if (args[2] == "file") {
        sim::FileFault f;
        std::string problem = parseFileFault(args, f);
        if (!problem.empty())
            return usage(problem);
        st.model().fileFaults.push_back(f);
    } else {
        sim::Fault f;
        std::string problem;
        if (args[2] == "json") {
            if (args.size() != 4)
                return usage("json takes one fault object");
            sim::readFault(args[3], f, problem);
        } else {
            problem = parseFault(args, f);
        }
        if (!problem.empty())
            return usage(problem);
        faults.push_back(f);
    }
    st.markChanged();
    return st.save() == 0 ? EXIT_OK : EXIT_FAILED;
}

int advance(const std::vector<std::string>& args)
{
    uint64_t seconds = 0;
    if (args.size() != 3 || !sim::parseU64(args[2], seconds))
        return usage("advance takes DIR SECONDS");
    sim::SimState st(args[1]);
    if (st.load() != 0)
        return EXIT_FAILED;
    st.advanceClock(seconds);
    st.markChanged();
    return st.save() == 0 ? EXIT_OK : EXIT_FAILED;
}

} // namespace

int runQuillSim(const std::vector<std::string>& args)
{
    if (args.empty())
        return usage("");
    const std::string& cmd = args[0];
    if (cmd == "create")
        return create(args);
    if (cmd == "show")
        return show(args);
    if (cmd == "fault")
        return fault(args);
    if (cmd == "advance")
        return advance(args);
    if (cmd == "--help" || cmd == "help") {
        usage("");
        return EXIT_OK;
    }
    return usage("unknown command \"" + cmd + "\"");
}
