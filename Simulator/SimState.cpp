#include "Simulator/SimState.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace sim {

const char* const SimState::FILE_NAME = "state.json";

bool parseU64(const std::string& text, uint64_t& v)
{
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ')
        return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long x = strtoull(text.c_str(), &end, 0);
    if (errno != 0 || !end || *end != '\0')
        return false;
    v = x;
    return true;
}

bool parseI64(const std::string& text, int64_t& v)
{
    if (text.empty() || text[0] == ' ')
        return false;
    errno = 0;
    char* end = nullptr;
    long long x = strtoll(text.c_str(), &end, 0);
    if (errno != 0 || !end || *end != '\0')
        return false;
    v = x;
    return true;
}

bool toU64(const Json& value, uint64_t& v)
{
    if (value.is_number_unsigned()) {
        v = value.get<uint64_t>();
        return true;
    }
    if (value.is_number_integer()) {
        int64_t x = value.get<int64_t>();
        if (x < 0)
            return false;
        v = static_cast<uint64_t>(x);
        return true;
    }
    if (value.is_string())
        return parseU64(value.get<std::string>(), v);
    return false;
}

uint64_t getU(const Json& obj, const char* key, uint64_t def)
{
    if (!obj.is_object())
        return def;
    auto it = obj.find(key);
    uint64_t v = 0;
    return (it != obj.end() && toU64(*it, v)) ? v : def;
}

int64_t getI(const Json& obj, const char* key, int64_t def)
{
    if (!obj.is_object())
        return def;
    auto it = obj.find(key);
    if (it == obj.end())
        return def;
    if (it->is_number_integer())
        return it->get<int64_t>();
    int64_t v = 0;
    if (it->is_string() && parseI64(it->get<std::string>(), v))
        return v;
    return def;
}

std::string getS(const Json& obj, const char* key, const std::string& def)
{
    if (!obj.is_object())
        return def;
    auto it = obj.find(key);
    return (it != obj.end() && it->is_string()) ? it->get<std::string>() : def;
}

Json* getArray(Json& obj, const char* key)
{
    if (!obj.is_object())
        return nullptr;
    auto it = obj.find(key);
    return (it != obj.end() && it->is_array()) ? &*it : nullptr;
}

const Json* getArray(const Json& obj, const char* key)
{
    if (!obj.is_object())
        return nullptr;
    auto it = obj.find(key);
    return (it != obj.end() && it->is_array()) ? &*it : nullptr;
}

std::string hex32(uint32_t v)
{
    char buf[16];
    snprintf(buf, sizeof buf, "0x%08x", v);
    return buf;
}

SimState::SimState(const std::string& hostDir) : hostDir_(hostDir), doc_(Json::object()) {}

std::string SimState::path() const { return hostDir_ + "/" + FILE_NAME; }

int SimState::load(bool quiet)
{
    loadTried_ = true;
    loadResult_ = -1;
    doc_ = Json::object();
    changed_ = false;
    valid_ = false;
    FILE* f = fopen(path().c_str(), "rb");
    if (!f) {
        if (!quiet)
            fprintf(stderr, "quillsim: cannot read %s: %s\n", path().c_str(), strerror(errno));
        return -1;
    }
    std::string text;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    fclose(f);
    Json parsed = Json::parse(text, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        if (!quiet)
            fprintf(stderr, "quillsim: %s is not a JSON object\n", path().c_str());
        return -1;
    }
    doc_ = parsed;
    valid_ = true;
    loadResult_ = 0;
    return 0;
}

int SimState::ensureLoaded()
{
    if (!loadTried_)
        load();
    return loadResult_;
}

int SimState::save()
{
    if (hostDir_.empty()) {   // a state held in memory only (tests)
        changed_ = false;
        return 0;
    }
    if (!valid_)
        return -1;
    std::string text = doc_.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    std::string tmp = path() + ".tmp." + std::to_string(getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        fprintf(stderr, "quillsim: cannot write %s: %s\n", tmp.c_str(), strerror(errno));
        return -1;
    }
    size_t done = 0;
    while (done < text.size()) {
        ssize_t w = ::write(fd, text.data() + done, text.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            fprintf(stderr, "quillsim: cannot write %s: %s\n", tmp.c_str(), strerror(errno));
            ::close(fd);
            ::unlink(tmp.c_str());
            return -1;
        }
        done += static_cast<size_t>(w);
    }
    if (::close(fd) != 0 || ::rename(tmp.c_str(), path().c_str()) != 0) {
        fprintf(stderr, "quillsim: cannot replace %s: %s\n", path().c_str(), strerror(errno));
        ::unlink(tmp.c_str());
        return -1;
    }
    changed_ = false;
    return 0;
}

int SimState::saveIfChanged() { return changed_ ? save() : 0; }

void SimState::advanceClock(uint64_t seconds)
{
    if (seconds == 0)
        return;
    doc_["clock"] = clock() + seconds;
    changed_ = true;
}

Json* SimState::findController(unsigned host, int kind)
{
    Json* ctrls = getArray(doc_, "controllers");
    if (!ctrls)
        return nullptr;
    for (Json& c : *ctrls)
        if (getU(c, "host", 0xFFFFFFFFu) == host && getI(c, "driverKind", 0) == kind)
            return &c;
    return nullptr;
}

} // namespace sim
