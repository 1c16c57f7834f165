// Reading slides, shapes and click actions from .pptx packages.
#include "platform/pptx_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/errors.h"
#include "support/pptx_writer.h"

namespace avelin {
namespace {

namespace fs = std::filesystem;
using test::PptxShape;
using test::PptxSlide;

class PptxReader : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() /
            ("avelin-pptx-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // The FormatError that reading `file` throws.
    FormatError formatErrorOf(const std::string& file) {
        try {
            ReadPptx(file);
        } catch (const FormatError& e) {
            return e;
        }
        ADD_FAILURE() << file << " was read without a FormatError";
        return FormatError(file, 0, "");
    }

    fs::path dir_;
};

const char* kProgram = "ppaction://program";

TEST_F(PptxReader, SlidesShapesNamesAndClickActions) {
    const std::vector<PptxSlide> slides = {
        {{{"Title 1", "", ""},
          {"VOTE", kProgram, "file:///C:\\Program%20Files\\avelin\\avelin.exe%20vote%201.AVL,1"},
          {"R&D <chart>", "ppaction://macro?name=Module1.Start", "", "graphicFrame"},
          {"Link", "", ""},
          {"vote", "ppaction://hlinkshowjump?jump=nextslide", "", "pic"}}},
        {},
        {{{"Group 4", kProgram, "file:///C:\\v.exe%20g.AVL", "grpSp"}, {"Connector 2", "", "", "cxnSp"}}},
    };
    const std::string file = path("Talk One.pptx");
    test::WritePptx(file, slides);

    const PresentationInfo p = ReadPptx(file);
    EXPECT_EQ(p.path, dir_.string());
    EXPECT_EQ(p.name, "Talk One.pptx");
    ASSERT_EQ(p.slides.size(), 3u);
    ASSERT_EQ(p.slides[0].shapes.size(), 5u);
    EXPECT_EQ(p.slides[0].shapes[0].name, "Title 1");
    EXPECT_EQ(p.slides[0].shapes[0].actionRun, "");
    EXPECT_EQ(p.slides[0].shapes[1].name, "VOTE");
    EXPECT_EQ(p.slides[0].shapes[1].actionRun, "C:\\Program Files\\avelin\\avelin.exe vote 1.AVL,1");
    EXPECT_EQ(p.slides[0].shapes[2].name, "R&D <chart>");
    EXPECT_EQ(p.slides[0].shapes[2].actionRun, "Module1.Start");
    EXPECT_EQ(p.slides[0].shapes[4].name, "vote");
    EXPECT_EQ(p.slides[0].shapes[4].actionRun, ""); // other actions give no text
    EXPECT_TRUE(p.slides[1].shapes.empty());
    ASSERT_EQ(p.slides[2].shapes.size(), 2u);
    EXPECT_EQ(p.slides[2].shapes[0].name, "Group 4");
    EXPECT_EQ(p.slides[2].shapes[0].actionRun, "C:\\v.exe g.AVL");
    EXPECT_EQ(p.slides[2].shapes[1].name, "Connector 2");
}

TEST_F(PptxReader, SlideListOrderNotPartNumbersAndOnlyTopLevelShapes) {
    test::ZipEntries entries = test::PptxEntries({{{{"first part", "", ""}}}, {{{"second part", "", ""}}}});
    std::string& presentation = test::Part(entries, "ppt/presentation.xml");
    const std::string one = "<p:sldId id=\"256\" r:id=\"rId2\"/>";
    const std::string two = "<p:sldId id=\"257\" r:id=\"rId3\"/>";
    presentation.replace(presentation.find(one + two), one.size() + two.size(), two + one);
    // A group whose members are shapes of their own, and a shape wrapped for
    // markup compatibility.
    std::string& slide = test::Part(entries, "ppt/slides/slide1.xml");
    slide.replace(
        slide.find("</p:spTree>"), 0,
        "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"9\" name=\"Group 8\"/></p:nvGrpSpPr><p:grpSpPr/>"
        "<p:sp><p:nvSpPr><p:cNvPr id=\"10\" name=\"VOTE\"/></p:nvSpPr></p:sp></p:grpSp>"
        "<mc:AlternateContent xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
        "<mc:Choice Requires=\"p14\"><p:contentPart r:id=\"rId9\"><p:nvContentPartPr>"
        "<p:cNvPr id=\"11\" name=\"Ink 10\"/></p:nvContentPartPr></p:contentPart></mc:Choice>"
        "<mc:Fallback><p:pic><p:nvPicPr><p:cNvPr id=\"11\" name=\"Ink 10\"/></p:nvPicPr></p:pic>"
        "</mc:Fallback></mc:AlternateContent>");
    const std::string file = path("order.pptx");
    test::WriteZip(file, entries);

    const PresentationInfo p = ReadPptx(file);
    ASSERT_EQ(p.slides.size(), 2u);
    ASSERT_EQ(p.slides[0].shapes.size(), 1u);
    EXPECT_EQ(p.slides[0].shapes[0].name, "second part");
    ASSERT_EQ(p.slides[1].shapes.size(), 3u);
    EXPECT_EQ(p.slides[1].shapes[0].name, "first part");
    EXPECT_EQ(p.slides[1].shapes[1].name, "Group 8");
    EXPECT_EQ(p.slides[1].shapes[2].name, "Ink 10");
}

TEST_F(PptxReader, PresentationWithoutSlides) {
    test::ZipEntries entries = test::PptxEntries({});
    std::string& presentation = test::Part(entries, "ppt/presentation.xml");
    presentation.erase(presentation.find("<p:sldIdLst>"), std::string("<p:sldIdLst></p:sldIdLst>").size());
    const std::string file = path("empty.pptx");
    test::WriteZip(file, entries);
    EXPECT_TRUE(ReadPptx(file).slides.empty());
}

TEST(ProgramRunFromUrl, DecodesTheStoredUrl) {
    EXPECT_EQ(ProgramRunFromUrl("file:///C:\\Program%20Files\\avelin\\avelin.exe%20vote1.AVL,1"),
              "C:\\Program Files\\avelin\\avelin.exe vote1.AVL,1");
    EXPECT_EQ(ProgramRunFromUrl("FILE:///D:/talks/v.exe%20a.AVL"), "D:/talks/v.exe a.AVL"); // slashes kept
    EXPECT_EQ(ProgramRunFromUrl("file://server/share/v.exe%20a.AVL"), "\\\\server/share/v.exe a.AVL");
    EXPECT_EQ(ProgramRunFromUrl("C:\\v.exe 100%25 sure.AVL"), "C:\\v.exe 100% sure.AVL");
    EXPECT_EQ(ProgramRunFromUrl("file:///C:\\v.exe%zz%4"), "C:\\v.exe%zz%4"); // broken escapes stay
    EXPECT_EQ(ProgramRunFromUrl("file:///C:\\Umfrage%C3%BC.exe"), "C:\\Umfrage\xC3\xBC.exe");
}

TEST_F(PptxReader, MissingFileOrAFolderIsAFileError) {
    try {
        ReadPptx(path("absent.pptx"));
        FAIL() << "a missing file must be refused";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), path("absent.pptx"));
        EXPECT_FALSE(e.reason().empty());
    }
    try {
        ReadPptx(dir_.string());
        FAIL() << "a folder must be refused";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), "this is a folder, not a file");
    }
}

TEST_F(PptxReader, BrokenPackagesAreFormatErrorsNamingFileAndProblem) {
    const std::string notZip = path("notes.pptx");
    std::ofstream(notZip) << "This is a plain text file, not a presentation.\r\n";
    FormatError e = formatErrorOf(notZip);
    EXPECT_EQ(e.path(), notZip);
    EXPECT_EQ(e.reason().rfind("not a presentation (.pptx) file: ", 0), 0u) << e.reason();

    const std::vector<PptxSlide> slides = {{{{"VOTE", kProgram, "file:///v.exe%20a.AVL"}}}, {}};
    struct Damage {
        const char* name;
        std::function<void(test::ZipEntries&)> apply;
        std::string reason;
    };
    const std::vector<Damage> damages = {
        {"no presentation part",
         [](test::ZipEntries& z) { z.erase(z.begin() + static_cast<long>(z.size()) - 2); },
         "the part ppt/presentation.xml is missing"},
        {"no slide part", [](test::ZipEntries& z) { z.erase(z.begin() + 3); },
         "the part ppt/slides/slide2.xml is missing"},
        {"broken slide XML", [](test::ZipEntries& z) { test::Part(z, "ppt/slides/slide1.xml").resize(200); },
         "the part ppt/slides/slide1.xml is not well-formed XML"},
        {"no relationship for the program",
         [](test::ZipEntries& z) {
             test::Part(z, "ppt/slides/_rels/slide1.xml.rels") = test::PptxRelationships({});
         },
         "the part ppt/slides/slide1.xml runs a program through the relationship \"rId2\", which it does not "
         "have"},
        {"slide list names an unknown relationship",
         [](test::ZipEntries& z) {
             test::Part(z, "ppt/_rels/presentation.xml.rels") = test::PptxRelationships({});
         },
         "the slide list names the relationship \"rId2\", which ppt/presentation.xml does not have"},
        {"not a presentation",
         [](test::ZipEntries& z) { test::Part(z, "ppt/presentation.xml") = "<w:document xmlns:w=\"x\"/>"; },
         "the part ppt/presentation.xml is not a presentation"},
        {"slide without a shape tree",
         [](test::ZipEntries& z) { test::Part(z, "ppt/slides/slide2.xml") = "<p:sld xmlns:p=\"x\"/>"; },
         "the part ppt/slides/slide2.xml is not a slide (no shape tree)"},
        {"oversized part",
         [](test::ZipEntries& z) {
             std::string& s = test::Part(z, "ppt/slides/slide2.xml");
             s.insert(s.size() - 10, std::string((64u << 20) + 1, ' '));
         },
         "the part ppt/slides/slide2.xml is larger than 64 MiB, far more than a presentation holds"},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.name);
        test::ZipEntries entries = test::PptxEntries(slides);
        d.apply(entries);
        const std::string file = path("broken.pptx");
        test::WriteZip(file, entries);
        const FormatError error = formatErrorOf(file);
        EXPECT_EQ(error.path(), file);
        EXPECT_EQ(error.reason().substr(0, d.reason.size()), d.reason);
    }
}

TEST_F(PptxReader, CheckedInDemoPresentation) {
    const PresentationInfo p = ReadPptx(AVELIN_SOURCE_DIR "/examples/presentation/Demo Talk.pptx");
    EXPECT_EQ(p.name, "Demo Talk.pptx");
    int votes = 0;
    for (const SlideInfo& s : p.slides)
        for (const ShapeInfo& shape : s.shapes)
            if (shape.name == "VOTE") {
                ++votes;
                EXPECT_NE(shape.actionRun.find("avelin.exe "), std::string::npos) << shape.actionRun;
            }
    EXPECT_GE(votes, 4);
}

} // namespace
} // namespace avelin
