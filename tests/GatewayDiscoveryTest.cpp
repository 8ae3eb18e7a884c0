#include "token/GatewayDiscovery.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/TokenFakes.h"

using namespace Token;
using tokenfake::Address;

namespace {

class SettingFile {
public:
    explicit SettingFile(const std::string& content)
    {
        std::snprintf(m_path, sizeof m_path, "authipconf-test-%p.ini", static_cast<void*>(this));
        std::FILE* f = std::fopen(m_path, "wb");
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }
    ~SettingFile() { std::remove(m_path); }
    const char* Path() const { return m_path; }

private:
    char m_path[64];
};

RawRoute Route(std::uint32_t destination, std::uint32_t mask, std::uint32_t nextHop,
               std::uint32_t metric)
{
    return RawRoute{destination, mask, nextHop, metric};
}

const std::uint32_t kAny = 0;

TEST(GatewayDiscoveryTest, ChoosesTheRouteThroughAnAdaptersGateway)
{
    const std::uint32_t lan = Address(192, 168, 1, 0), mask24 = Address(255, 255, 255, 0);
    struct Case {
        const char* name;
        std::vector<RawRoute> routes;
        std::vector<std::string> gateways;
        std::int32_t code;
        const char* server;
    };
    const Case cases[] = {
        {"one default route",
         {Route(kAny, kAny, Address(192, 168, 1, 1), 20),
          Route(lan, mask24, Address(0, 0, 0, 0), 10)},
         {"192.168.1.1"},
         0,
         "192.168.1.1"},
        {"smaller metric of two defaults",
         {Route(kAny, kAny, Address(10, 0, 0, 1), 30), Route(kAny, kAny, Address(10, 1, 0, 1), 5)},
         {"10.0.0.1", "10.1.0.1"},
         0,
         "10.1.0.1"},
        {"loopback next hop never chosen",
         {Route(kAny, kAny, Address(127, 0, 0, 1), 1),
          Route(lan, mask24, Address(10, 0, 0, 9), 50)},
         {"127.0.0.1", "10.0.0.9"},
         0,
         "10.0.0.9"},
        {"non-default only when no default qualifies",
         {Route(lan, mask24, Address(10, 0, 0, 2), 1), Route(kAny, kAny, Address(10, 0, 0, 3), 9)},
         {"10.0.0.2", "10.0.0.3"},
         0,
         "10.0.0.3"},
        {"a non-default route is the fallback",
         {Route(lan, mask24, Address(10, 0, 0, 2), 1), Route(kAny, kAny, Address(10, 0, 0, 4), 9)},
         {"10.0.0.2"},
         0,
         "10.0.0.2"},
        {"second gateway of an adapter does not count",
         {Route(kAny, kAny, Address(10, 0, 0, 7), 1)},
         {"10.0.0.6"},
         -102,
         ""},
        {"no routes at all", {}, {"10.0.0.1"}, -102, ""},
        {"no adapter gateway", {Route(kAny, kAny, Address(10, 0, 0, 1), 1)}, {""}, -102, ""},
    };
    for (const Case& c : cases) {
        tokenfake::Routes tables;
        tables.routes = c.routes;
        tables.gateways = c.gateways;
        char server[16] = {};
        bool fromSetting = true;
        EXPECT_EQ(c.code,
                  DiscoverServer(tables, "/nonexistent/authipconf.ini", server, &fromSetting))
            << c.name;
        if (c.code == 0) {
            EXPECT_STREQ(c.server, server) << c.name;
            EXPECT_FALSE(fromSetting) << c.name;
        }
    }
}

TEST(GatewayDiscoveryTest, RoutesAreOnePerNextHopByMetric)
{
    tokenfake::Routes tables;
    tables.routes = {Route(kAny, kAny, Address(10, 0, 0, 2), 7),
                     Route(Address(10, 9, 0, 0), kAny, Address(10, 0, 0, 1), 3),
                     Route(Address(10, 8, 0, 0), kAny, Address(10, 0, 0, 2), 1),
                     Route(kAny, kAny, Address(10, 0, 0, 3), 5)};
    const RowArray<RouteEntry> rows = ListRoutes(tables);
    ASSERT_EQ(3u, rows.Count());
    EXPECT_STREQ("10.0.0.1", rows[0].nextHop);
    EXPECT_STREQ("10.9.0.0", rows[0].destination);
    EXPECT_STREQ("10.0.0.3", rows[1].nextHop);
    EXPECT_STREQ("10.0.0.2", rows[2].nextHop);
    EXPECT_EQ(3u, rows[0].metric);
    EXPECT_FALSE(rows[0].gatewayMatch);
    tables.routesWork = false;
    EXPECT_TRUE(ListRoutes(tables).IsEmpty());
}

TEST(GatewayDiscoveryTest, SettingFileNamesTheServer)
{
    struct Case {
        const char* name;
        std::string content;
        const char* setting;
    };
    const Case cases[] = {
        {"address", "serverip=10.0.0.5", "10.0.0.5"},
        {"CR LF line end", "serverip=10.0.0.5\r\nsecond line", "10.0.0.5"},
        {"LF and blanks", "serverip=10.0.0.5  \t\n", "10.0.0.5"},
        {"past the 24th character", "serverip=192.168.100.200xyz", "192.168.100.200"},
        {"nine characters only", "serverip=\r\n", ""},
        {"short line", "ip=1\n10.0.0.5", ""},
        {"empty file", "", ""},
        {"address on the second line is not read", "\nserverip=10.0.0.5", ""},
    };
    for (const Case& c : cases) {
        SettingFile file(c.content);
        char setting[16];
        ReadServerSetting(file.Path(), setting);
        EXPECT_STREQ(c.setting, setting) << c.name;

        tokenfake::Routes tables;
        char server[16] = {};
        bool fromSetting = false;
        ASSERT_EQ(0, DiscoverServer(tables, file.Path(), server, &fromSetting)) << c.name;
        EXPECT_STREQ(c.setting[0] ? c.setting : "192.168.1.1", server) << c.name;
        EXPECT_EQ(c.setting[0] != '\0', fromSetting) << c.name;
    }
    char setting[16];
    ReadServerSetting("/nonexistent/authipconf.ini", setting);
    EXPECT_STREQ("ini_invalid", setting);
}

TEST(GatewayDiscoveryTest, SettingFileDoesNotHelpWithoutARoute)
{
    SettingFile file("serverip=10.0.0.5");
    tokenfake::Routes tables;
    tables.gateways = {"10.9.9.9"};
    char server[16] = {};
    bool fromSetting = false;
    EXPECT_EQ(-102, DiscoverServer(tables, file.Path(), server, &fromSetting));
}

}  // namespace
