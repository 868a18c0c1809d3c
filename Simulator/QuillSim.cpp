#include "Simulator/QuillSim.h"

#include <climits>
#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "Simulator/SimFaults.h"
#include "Simulator/SimLayout.h"
#include "Simulator/SimPresets.h"
#include "Simulator/SimState.h"

using sim::Json;

namespace {

const int EXIT_OK = 0;
const int EXIT_FAILED = 1;
const int EXIT_USAGE = 2;

int usage(const std::string& why)
{
    if (!why.empty())
        fprintf(stderr, "quillsim: %s\n", why.c_str());
    fprintf(stderr,
            "usage: quillsim create DIR [--preset NAME]\n"
            "       quillsim show DIR\n"
            "       quillsim fault DIR status OPCODE STATUS | ioctl [RETURN] [--errno N] |\n"
            "                          short OPCODE BYTES | corrupt OPCODE OFFSET HEXBYTES |\n"
            "                          missing-driver | json FAULT | clear\n"
            "                      [--opcode OP] [--host N] [--driver KIND] [--once | --times N | --from N]\n"
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

int create(const std::vector<std::string>& args)
{
    std::string preset = "one";
    if (args.size() == 4 && args[2] == "--preset")
        preset = args[3];
    else if (args.size() != 2)
        return usage("create takes DIR and an optional --preset NAME");
    Json state;
    if (!sim::SimPresets::state(preset, state))
        return usage("unknown preset \"" + preset + "\"");
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
    printf("%s\n", st.doc().dump(2, ' ', false, Json::error_handler_t::replace).c_str());
    return EXIT_OK;
}

bool number(const std::string& text, Json& out)
{
    uint64_t v = 0;
    if (!sim::parseU64(text, v))
        return false;
    out = v;
    return true;
}

// Builds the fault of `quillsim fault DIR ...` from args[2] on; "" or what is wrong.
std::string parseFault(const std::vector<std::string>& args, Json& f)
{
    const std::string& type = args[2];
    size_t i = 3;
    f = Json::object();
    f["type"] = type;
    auto positional = [&](const char* key, bool isNumber) -> bool {
        if (i >= args.size() || args[i].compare(0, 2, "--") == 0)
            return false;
        if (isNumber) {
            Json v;
            if (!number(args[i], v))
                return false;
            f[key] = v;
            if (std::string(key) == "opcode" && v.get<uint64_t>() <= 0xFFFFFFFFull)
                f[key] = sim::hex32(static_cast<uint32_t>(v.get<uint64_t>()));
        } else {
            f[key] = args[i];
        }
        ++i;
        return true;
    };
    if (type == "status") {
        if (!positional("opcode", true) || !positional("status", true))
            return "status takes OPCODE STATUS";
    } else if (type == "short") {
        if (!positional("opcode", true) || !positional("bytes", true))
            return "short takes OPCODE BYTES";
    } else if (type == "corrupt") {
        if (!positional("opcode", true) || !positional("offset", true) || !positional("data", false))
            return "corrupt takes OPCODE OFFSET HEXBYTES";
    } else if (type == "ioctl") {
        int64_t rc = -1;
        if (i < args.size() && args[i].compare(0, 2, "--") != 0) {
            if (!sim::parseI64(args[i], rc))
                return "ioctl takes an integer RETURN";
            ++i;
        }
        f["return"] = rc;
    } else if (type != "missing-driver") {
        return "unknown fault type \"" + type + "\"";
    }
    for (; i < args.size(); ++i) {
        const std::string& opt = args[i];
        const bool hasValue = i + 1 < args.size();
        Json v;
        if (opt == "--once") {
            f["mode"] = "once";
        } else if ((opt == "--times" || opt == "--from") && hasValue && number(args[i + 1], v)) {
            f["mode"] = opt.substr(2);
            f["count"] = v;
            ++i;
        } else if (opt == "--opcode" && hasValue && number(args[i + 1], v) && v.get<uint64_t>() <= 0xFFFFFFFFull) {
            f["opcode"] = sim::hex32(static_cast<uint32_t>(v.get<uint64_t>()));
            ++i;
        } else if (opt == "--host" && hasValue && number(args[i + 1], v)) {
            f["host"] = v;
            ++i;
        } else if (opt == "--driver" && hasValue && number(args[i + 1], v)) {
            f["driverKind"] = v;
            ++i;
        } else if (opt == "--errno" && type == "ioctl" && hasValue && number(args[i + 1], v)) {
            f["errno"] = v;
            ++i;
        } else {
            return "unexpected \"" + opt + "\"";
        }
    }
    return sim::SimFaults::validate(f);
}

int fault(const std::vector<std::string>& args)
{
    if (args.size() < 3)
        return usage("fault takes DIR and a fault");
    sim::SimState st(args[1]);
    if (st.load() != 0)
        return EXIT_FAILED;
    Json& doc = st.doc();
    if (args[2] == "clear") {
        if (args.size() != 3)
            return usage("clear takes nothing more");
        doc["faults"] = Json::array();
    } else {
        Json f;
        std::string problem;
        if (args[2] == "json") {
            if (args.size() != 4)
                return usage("json takes one fault object");
            f = Json::parse(args[3], nullptr, false);
            problem = f.is_discarded() ? "not JSON" : sim::SimFaults::validate(f);
        } else {
            problem = parseFault(args, f);
        }
        if (!problem.empty())
            return usage(problem);
        if (!sim::getArray(doc, "faults"))
            doc["faults"] = Json::array();
        doc["faults"].push_back(f);
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
