// The XML document the clip reader reads through: a walk over the elements
// in document order, attributes absent or present, what loads and what is
// refused with a reason.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "platform/xml/com_startup.h"
#include "platform/xml/xml_document.h"
#include "support/script_session.h"
#include "support/wine_host.h"

namespace {

using lwp::platform::XmlDocument;
using lwp::platform::XmlElement;
using lwp::platform::XmlStep;
using ::testing::ElementsAre;

class XmlDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { lwp::platform::startComOnce(); }

  bool load(const std::string &bytes) {
    const std::string path = (dir_ / "doc.xml").string();
    std::ofstream(path, std::ios::binary) << bytes;
    return document_.load(path);
  }

  lwtest::ScratchDirectory dir_;
  XmlDocument document_;
};

// Records a walk: "+n" for each element entered, "-n" for each left, where
// n is its attribute n; the element with skip='1' is skipped, the one with
// stop='1' ends the walk.
class WalkRecord final : public lwp::platform::XmlVisitor {
 public:
  XmlStep enter(const XmlElement &element) override {
    steps.push_back("+" + element.attribute("n").value_or(element.tagName()));
    if (element.attribute("stop")) return XmlStep::Stop;
    return element.attribute("skip") ? XmlStep::Skip : XmlStep::Descend;
  }
  void leave(const XmlElement &element) override {
    steps.push_back("-" + element.attribute("n").value_or(element.tagName()));
  }
  std::vector<std::string> steps;
};

TEST_F(XmlDocumentTest, AWalkEntersAndLeavesEachElementOnceInDocumentOrder) {
  ASSERT_TRUE(
      load("<r><x n='1'>t<x n='2'/><!-- c --><y n='3' skip='1'><x n='4'/></y></x>"
           "<x n='5'><z n='6' stop='1'><x n='7'/></z></x><x n='8'/></r>"));
  WalkRecord record;
  document_.walk(record);
  EXPECT_THAT(record.steps, ElementsAre("+r", "+1", "+2", "-2", "+3", "-1", "+5", "+6"));
  EXPECT_EQ(document_.root().tagName(), "r");
  XmlElement first;
  EXPECT_EQ(first.childCount("x"), 0u);
  class FirstX final : public lwp::platform::XmlVisitor {
   public:
    explicit FirstX(XmlElement &found) : found_(found) {}
    XmlStep enter(const XmlElement &element) override {
      if (element.tagName() != "x") return XmlStep::Descend;
      found_ = element;
      return XmlStep::Stop;
    }
    void leave(const XmlElement &) override {}
    XmlElement &found_;
  } firstX(first);
  document_.walk(firstX);
  EXPECT_EQ(first.childCount("x"), 1u);
  std::vector<std::string> attributes;
  first.forEachAttribute([&](std::string_view name, std::string_view value) {
    attributes.push_back(std::string(name) + "=" + std::string(value));
  });
  EXPECT_THAT(attributes, ElementsAre("n=1"));
}

// The parser refuses the document, or where it has no such limit (Wine's
// MSXML), the walk does.
TEST_F(XmlDocumentTest, ADocumentNestedDeeperThanTheLimitIsRefused) {
  const auto loadsAndWalks = [this](int depth) {
    std::string text;
    for (int level = 0; level < depth; ++level) text += "<e>";
    for (int level = 0; level < depth; ++level) text += "</e>";
    if (!load(text)) return false;
    WalkRecord record;
    try {
      document_.walk(record);
    } catch (const std::runtime_error &) {
      return false;
    }
    return record.steps.size() == 2u * static_cast<std::size_t>(depth);
  };
  EXPECT_TRUE(loadsAndWalks(lwp::platform::kMaxElementDepth));
  EXPECT_FALSE(loadsAndWalks(lwp::platform::kMaxElementDepth + 1));
}

TEST_F(XmlDocumentTest, AnAbsentAttributeDiffersFromAnEmptyOne) {
  ASSERT_TRUE(load("<r a='' b=' x &amp; y '/>"));
  const XmlElement root = document_.root();
  EXPECT_EQ(root.attribute("a"), std::optional<std::string>(""));
  EXPECT_EQ(root.attribute("b"), std::optional<std::string>(" x & y "));
  EXPECT_EQ(root.attribute("c"), std::nullopt);
  EXPECT_EQ(root.attribute("A"), std::nullopt);
}

TEST_F(XmlDocumentTest, ElementsOfNoDocumentAreEmpty) {
  const XmlElement none = document_.root();
  EXPECT_FALSE(none);
  EXPECT_EQ(none.tagName(), "");
  EXPECT_EQ(none.attribute("a"), std::nullopt);
}

TEST_F(XmlDocumentTest, AFailedLoadSaysWhyAndDropsThePreviousDocument) {
  ASSERT_TRUE(load("<r/>"));
  EXPECT_EQ(document_.errorDescription(), "");
  EXPECT_FALSE(load("<r><a></r>"));
  EXPECT_NE(document_.errorDescription(), "");
  EXPECT_FALSE(document_.root());
  EXPECT_FALSE(load("<?xml version='1.0' encoding='no-such-code'?><r/>"));
  EXPECT_NE(document_.errorDescription(), "");
  EXPECT_FALSE(document_.load((dir_ / "missing.xml").string()));
  EXPECT_NE(document_.errorDescription(), "");
}

TEST_F(XmlDocumentTest, OnlyOneRootElementWithMarkupAroundItLoads) {
  EXPECT_TRUE(load("<?xml version='1.0'?>\n<!-- a -->\n<r/>\n<?pi x?>\n<!--EOF-->"));
  EXPECT_FALSE(load("<r/><s/>"));
  EXPECT_FALSE(load("<r/>text"));
  EXPECT_FALSE(load("text<r/>"));
  EXPECT_FALSE(load("<!-- nothing -->"));
  EXPECT_FALSE(load(""));
}

TEST_F(XmlDocumentTest, TheDeclaredEncodingIsReadFromTheDeclarationOnly) {
  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  // A Shift_JIS byte pair in a document without a declaration is not UTF-8.
  EXPECT_FALSE(load("<r a='\x95\x5C'/>"));
  EXPECT_TRUE(load("<?xml version='1.0' encoding='Shift_JIS'?><r a='\x95\x5C'/>"));
  EXPECT_EQ(document_.root().attribute("a"), std::optional<std::string>("\xE8\xA1\xA8"));
  EXPECT_FALSE(load("<r note='encoding=\"Shift_JIS\"' a='\x95\x5C'/>"));
  EXPECT_TRUE(load("<?xml version = \"1.0\"\n  encoding = 'sjis' standalone='yes'?><r a='\x95\x5C'/>"));
}

}  // namespace
