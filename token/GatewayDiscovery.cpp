#include "token/GatewayDiscovery.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "token/TokenSeams.h"

namespace Token {

namespace {

const char kNoSettingFile[] = "ini_invalid";
const std::size_t kSkippedPrefix = 9;
const std::size_t kAddressLength = 15;

void DottedText(std::uint32_t networkOrder, char (&text)[16])
{
    unsigned char b[4];
    std::memcpy(b, &networkOrder, sizeof b);
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
}

bool IsTrailingJunk(char c)
{
    return c == '\r' || c == '\n' || c == ' ' || c == '\t';
}

bool HasSetting(const char* setting)
{
    return setting[0] != '\0' && std::strcmp(setting, kNoSettingFile) != 0;
}

// Marks rows whose next hop is an adapter's first gateway; returns the first default route
// among them (up to it), else the first marked row, else null.
const RouteEntry* ChooseRoute(RowArray<RouteEntry>& rows, const RowArray<AdapterGateway>& adapters)
{
    for (RouteEntry& row : rows) {
        if (std::strcmp(row.nextHop, "127.0.0.1") == 0)
            continue;
        const bool match = std::any_of(
            adapters.begin(), adapters.end(),
            [&](const AdapterGateway& a) { return std::strcmp(a.address, row.nextHop) == 0; });
        if (!match)
            continue;
        row.gatewayMatch = true;
        if (std::strcmp(row.destination, "0.0.0.0") == 0 && std::strcmp(row.mask, "0.0.0.0") == 0)
            return &row;
    }
    for (const RouteEntry& row : rows) {
        if (row.gatewayMatch)
            return &row;
    }
    return nullptr;
}

}  // namespace

RowArray<RouteEntry> ListRoutes(RouteTables& tables)
{
    RowArray<RawRoute> raw;
    RowArray<RouteEntry> rows;
    if (!tables.ReadRoutes(raw) || !rows.Resize(raw.Count()))
        return rows;
    for (std::size_t i = 0; i < raw.Count(); ++i) {
        RouteEntry& row = rows[i];
        DottedText(raw[i].destination, row.destination);
        DottedText(raw[i].mask, row.mask);
        DottedText(raw[i].nextHop, row.nextHop);
        row.metric = raw[i].metric;
    }
    const auto byNextHop = [](const RouteEntry& a, const RouteEntry& b) {
        return std::strcmp(a.nextHop, b.nextHop) < 0;
    };
    std::stable_sort(rows.begin(), rows.end(), byNextHop);
    const RouteEntry* distinct =
        std::unique(rows.begin(), rows.end(), [](const RouteEntry& a, const RouteEntry& b) {
            return std::strcmp(a.nextHop, b.nextHop) == 0;
        });
    rows.Resize(static_cast<std::size_t>(distinct - rows.begin()));
    std::stable_sort(rows.begin(), rows.end(),
                     [](const RouteEntry& a, const RouteEntry& b) { return a.metric < b.metric; });
    return rows;
}

void ReadServerSetting(const char* path, char (&setting)[16])
{
    setting[0] = '\0';
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        std::strcpy(setting, kNoSettingFile);
        return;
    }
    char line[1024];
    const bool read = !std::ferror(file) && std::fgets(line, sizeof line, file);
    std::fclose(file);
    if (!read || std::strlen(line) <= kSkippedPrefix)
        return;
    std::size_t length = std::min(std::strlen(line + kSkippedPrefix), kAddressLength);
    // A CR LF line end or blanks after the address are not part of it.
    while (length > 0 && IsTrailingJunk(line[kSkippedPrefix + length - 1]))
        --length;
    std::memcpy(setting, line + kSkippedPrefix, length);
    setting[length] = '\0';
}

std::int32_t DiscoverServer(RouteTables& tables, const char* settingPath, char (&address)[16],
                            bool* fromSetting)
{
    RowArray<AdapterGateway> adapters;
    if (!tables.ReadAdapters(adapters))
        return -102;
    RowArray<RouteEntry> rows = ListRoutes(tables);
    if (rows.IsEmpty())
        return -102;
    const RouteEntry* chosen = ChooseRoute(rows, adapters);
    char setting[16];
    ReadServerSetting(settingPath, setting);
    if (!chosen)
        return -102;
    *fromSetting = HasSetting(setting);
    std::strcpy(address, *fromSetting ? setting : chosen->nextHop);
    return 0;
}

}  // namespace Token
