// skinlint [--strict] [--menu] FILE.xml: builds a skin as the program would, with the
// program's resources and the files beside the skin (with --menu as the popup menu builds
// it: Menu and MenuElement are the menu's controls), and prints the element tree the
// builder sees:
// one element per line, indented by depth, each value escaped so that it stays on its line
// and reads unambiguously. Warnings name, with line and column, what the program would
// silently get wrong (SkinCheck.h). When the skin cannot be loaded it prints the parser's
// message, the text where parsing stopped and its line and column instead.
// Exit status 1 on errors (a skin that cannot be loaded, output that cannot be written)
// and, with --strict, on warnings; 0 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/MenuUI.h"
#include "tools/skinlint/SkinCheck.h"
#include "ui/controls/ControlClasses.h"
#include "ui/core/DialogBuilder.h"
#include "ui/core/IControlUI.h"
#include "ui/core/WindowManagerUI.h"

using namespace Veneer;

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: skinlint [--strict] [--menu] FILE.xml\n");
    return 1;
}

void PrintLoadError(const CXmlDocument& document)
{
    if (document.GetErrorMessage()[0] == '\0') {
        std::fprintf(stderr, "error: no element\n");
        return;
    }
    std::fprintf(stderr, "error: %s\n", document.GetErrorMessage());
    std::fprintf(stderr, "at: %s\n", SkinLint::Escaped(document.GetErrorLocation(), false).c_str());
    if (document.GetErrorLine() > 0)
        std::fprintf(stderr, "line %d, column %d\n", document.GetErrorLine(),
                     document.GetErrorColumn());
}

}  // namespace

int main(int argc, char** argv)
{
    bool strict = false;
    bool menu = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--strict") == 0)
            strict = true;
        else if (std::strcmp(argv[i], "--menu") == 0)
            menu = true;
        else if (path == nullptr && argv[i][0] != '-')
            path = argv[i];
        else
            return Usage();
    }
    if (path == nullptr)
        return Usage();

    CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
    RegisterControls();
    // The skin's folder is the resource path: its images and Include sources are read
    // from there, as the program reads them from its own.
    const std::string file = path;
    const std::size_t slash = file.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "" : file.substr(0, slash + 1);
    CWindowManagerUI::SetResourcePath(folder.c_str());

    CWindowManagerUI manager;
    SkinLint::CSkinCheck check(manager, stdout, stderr);
    CDialogBuilder builder;
    builder.SetReport(&check);
    CMenuBuilderCallback menuControls;
    if (menu)
        check.SetCallback(&menuControls);
    delete builder.Create(file.substr(folder.size()).c_str(), nullptr,
                          menu ? &menuControls : nullptr, &manager);

    int status = 0;
    if (!builder.GetDocument().GetRoot().IsValid()) {
        PrintLoadError(builder.GetDocument());
        status = 1;
    } else {
        check.Finish();
        if (strict && check.GetWarningCount() > 0)
            status = 1;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "error: the output could not be written\n");
        status = 1;
    }
    return status;
}
