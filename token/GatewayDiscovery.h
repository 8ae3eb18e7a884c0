#pragma once
// Finding the token server: the gateway of the route through a network adapter, unless
// "authipconf.ini" beside the executable names another address.

#include <cstddef>
#include <cstdint>

#include "token/RowArray.h"

namespace Token {

class RouteTables;

struct RouteEntry {
    char destination[16];
    char mask[16];
    char nextHop[16];
    std::uint32_t metric;
    bool gatewayMatch;
};

// One row per distinct next hop, in ascending metric; empty when the table is unreadable or
// memory runs out.
RowArray<RouteEntry> ListRoutes(RouteTables& tables);

// What the setting file says: the marker "ini_invalid" when the file cannot be opened, an
// empty text when it holds no address, else the address (at most 15 characters).
void ReadServerSetting(const char* path, char (&setting)[16]);

// Writes the server address (dotted text) and whether it came from the setting file;
// returns 0, or -102 when no route leads through an adapter's gateway.
std::int32_t DiscoverServer(RouteTables& tables, const char* settingPath, char (&address)[16],
                            bool* fromSetting);

}  // namespace Token
