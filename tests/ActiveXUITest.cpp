// The ActiveX host on the project's own test control (tests/activex): the control loaded by
// its path and through COM, drawn, placed, shown and hidden, focused, and let go.

#include <windows.h>

#include <ole2.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/ControlTreeFixture.h"
#include "tests/activex/TestControl.h"

namespace VeneerTest {
namespace {

using LorvikTestControl::TStats;

const char kServerName[] = "lorvik_testcontrol.dll";

// The test control's server, loaded from the test program's folder.
class TestServer {
public:
    TestServer()
    {
        char path[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string folder(path, length);
        folder.erase(folder.find_last_of('\\') + 1);
        m_path = folder + kServerName;
        m_module = LoadLibraryExA(m_path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    ~TestServer()
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    HMODULE Module() const { return m_module; }
    const std::string& Path() const { return m_path; }
    const TStats& Stats() const
    {
        return *reinterpret_cast<LorvikTestControl::StatsProc>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "LorvikTestControlStats")))();
    }
    void Reset() const
    {
        reinterpret_cast<LorvikTestControl::ResetProc>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "LorvikTestControlReset")))();
    }
    template <class Proc>
    Proc Export(const char* name) const
    {
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }

private:
    std::string m_path;
    HMODULE m_module = nullptr;
};

// The server by itself: a control made through its class factory counts its references
// and lets them all go; the server can unload once nothing is held.
TEST(ActiveXTestControlTest, CountsItsObjectsAndReferences)
{
    TestServer server;
    ASSERT_NE(nullptr, server.Module());
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using CanUnloadNow = HRESULT(WINAPI*)();
    const auto getClassObject = server.Export<GetClassObject>("DllGetClassObject");
    const auto canUnloadNow = server.Export<CanUnloadNow>("DllCanUnloadNow");
    ASSERT_NE(nullptr, getClassObject);
    ASSERT_NE(nullptr, canUnloadNow);
    EXPECT_EQ(S_OK, canUnloadNow());

    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, getClassObject(LorvikTestControl::kWindowlessClsid, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)));
    IOleObject* object = nullptr;
    ASSERT_EQ(S_OK,
              factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object)));
    EXPECT_EQ(1, server.Stats().liveObjects);
    EXPECT_EQ(2, server.Stats().references);
    EXPECT_EQ(S_FALSE, canUnloadNow());
    IViewObject* view = nullptr;
    EXPECT_EQ(S_OK, object->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view)));
    view->Release();
    object->Release();
    factory->Release();
    EXPECT_EQ(0, server.Stats().liveObjects);
    EXPECT_EQ(0, server.Stats().references);
    EXPECT_EQ(S_OK, canUnloadNow());

    IUnknown* none = nullptr;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              getClassObject(IID_IUnknown, IID_IClassFactory, reinterpret_cast<void**>(&none)));
}

}  // namespace
}  // namespace VeneerTest
