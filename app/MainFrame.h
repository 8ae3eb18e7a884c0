#pragma once
// MainFrame: the program's one window. It turns the skin's clicks into requests to the token
// client, the client's answers into the six code labels, the countdown and the status
// texts, and keeps the window's icon in the notification area.

#include <cstdint>

#include "app/WindowImplBase.h"
#include "ui/core/Win32Util.h"
#include "token/Mervane.h"
#include "token/TokenEvent.h"

// The tray icon's callback message; lParam is the mouse message.
const UINT WM_TRAY_ICON = WM_USER + 1;

class MainFrame : public WindowImplBase {
public:
    static const char kClassName[];
    // GBK, like every text the window shows.
    static const char kTitle[];

    // Posts the quit message: without its window the program has nothing left to do.
    ~MainFrame() override;

    const char* GetWindowClassName() const override;
    const char* GetClassIcon() const override;
    void OnFinalMessage(HWND hwnd) override;
    void Notify(Veneer::TNotifyMsg& msg) override;

protected:
    void OnSkinReady() override;
    LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    const char* SkinFolder() override;
    const char* SkinSource() override;
    LRESULT OnDefaultKey(WPARAM key) override;

    // The one way requests reach the token client; tests watch it here.
    virtual void QueueRequest(std::int32_t kind);

private:
    void AddTrayIcon();
    void RemoveTrayIcon();
    void ToggleVisible();
    void ShowTrayMenu();
    void OnTrayIcon(LPARAM mouseMessage);

    const char* TipText(std::int32_t code, int countdown);
    void SetTip(std::int32_t code, int countdown);
    // Two characters per label: a blank and the code's character; null blanks all six.
    void ShowTokenDigits(const char* token);
    void EndToken(std::int32_t code);
    void OnTokenEvent(const Token::TokenEvent& event);
    void OnTokenReceived(const Token::TokenEvent& event);
    void OnTokenChecked(const Token::TokenEvent& event);
    void OnCountdownTick();
    void QueueCheck();

    void SetControlText(const char* name, const char* text);
    void EnableNewTokenButton(bool enabled);

    Veneer::CIcon m_trayIcon;
    // The notification area holds the icon: only then may the window hide.
    bool m_trayShown = false;
    bool m_hidden = false;
    Token::Mervane m_client;
    bool m_checking = false;
    char m_token[Token::kTokenSize + 1] = {};
    int m_countdown = -1;
    Veneer::CUIString m_skinFolder;
    char m_skinSource[12] = {};
    char m_tipText[128] = {};
};
