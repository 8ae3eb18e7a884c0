#include "token/Mervane.h"

#include "token/MervaneImpl.h"
#include "token/TokenSeams.h"
#if defined(_WIN32)
#include "token/WindowSink.h"
#endif

namespace Token {

namespace {

char g_settingPath[1100];

TokenSeamSet SystemSeams()
{
    if (!SettingFilePath(g_settingPath, sizeof g_settingPath))
        g_settingPath[0] = '\0';
    return TokenSeamSet{&SystemClock(), NewSystemNetwork(), &SystemRoutes(), g_settingPath,
                        &SystemRandom()};
}

}  // namespace

Mervane::Mervane() : m_impl(new MervaneImpl(SystemSeams()))
{
}

Mervane::~Mervane() = default;

#if defined(_WIN32)
void Mervane::Start(HWND window)
{
    Start(new WindowSink(window));
}
#endif

void Mervane::Start(ResultSink* sink)
{
    m_impl->Start(sink);
}

void Mervane::Request(std::int32_t kind)
{
    m_impl->Request(kind);
}

}  // namespace Token
