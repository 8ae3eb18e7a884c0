#include "ui/core/base/XmlDocument.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ui/core/WindowManagerUI.h"

using Veneer::CWindowManagerUI;
using Veneer::CXmlDocument;

namespace {

TEST(XmlDocumentFileTest, LoadsNamesBelowTheResourcePath)
{
    const std::string directory = testing::TempDir();
    const std::string path = directory + "xml_resource.xml";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fputs("\xEF\xBB\xBF<Window text=\"\xE4\xB8\xAD\"/>", file);
    std::fclose(file);

    CWindowManagerUI::SetResourcePath(directory.c_str());
    CXmlDocument document;
    EXPECT_TRUE(document.LoadFromFile("xml_resource.xml")) << document.GetErrorMessage();
    EXPECT_STREQ("\xD6\xD0", document.GetRoot().GetAttributeValue(0));
    EXPECT_FALSE(document.LoadFromFile(path.c_str()));  // the path always goes in front
    EXPECT_STREQ("Error opening file", document.GetErrorMessage());

    CWindowManagerUI::SetResourcePath("");
    std::remove(path.c_str());
}

}  // namespace
