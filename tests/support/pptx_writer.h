#pragma once
// Writes .pptx packages for tests and benchmarks: a zip of named parts, and
// the few parts a presentation needs to list its slides and shapes.
#include <zip.h>

#include <cctype>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace avelin::test {

using ZipEntries = std::vector<std::pair<std::string, std::string>>;

// Writes `entries` as a zip archive at `path` (replacing it), deflated.
inline void WriteZip(const std::string& path, const ZipEntries& entries) {
    int code = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!zip)
        throw std::runtime_error("cannot create " + path);
    for (const auto& [name, content] : entries) {
        // The buffers live until zip_close, which is all libzip needs.
        zip_source_t* source = zip_source_buffer(zip, content.data(), content.size(), 0);
        if (!source || zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            zip_discard(zip);
            throw std::runtime_error("cannot add " + name + " to " + path);
        }
    }
    if (zip_close(zip) != 0) {
        zip_discard(zip);
        throw std::runtime_error("cannot write " + path);
    }
}

struct PptxShape {
    std::string name;
    std::string action;         // the hlinkClick action, e.g. "ppaction://program"; empty: no click action
    std::string target;         // for "ppaction://program": the relationship's target URL
    std::string element = "sp"; // sp, pic, grpSp, graphicFrame, cxnSp
};

struct PptxSlide {
    std::vector<PptxShape> shapes;
};

inline std::string XmlEscape(const std::string& s) {
    static const char* const entities[] = {"&amp;", "&lt;", "&gt;", "&quot;"};
    std::string out;
    for (char c : s) {
        const std::size_t k = std::string_view("&<>\"").find(c);
        out += k == std::string_view::npos ? std::string(1, c) : entities[k];
    }
    return out;
}

inline const std::string kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
inline const std::string kPptxNamespaces =
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";

inline std::string PptxRelationship(const std::string& id, const std::string& type, const std::string& target,
                                    const std::string& extra = "") {
    return "<Relationship Id=\"" + id + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/" +
           "relationships/" + type + "\" Target=\"" + target + "\"" + extra + "/>";
}

inline std::string PptxRelationships(const std::vector<std::string>& relationships) {
    std::string xml =
        kXmlDeclaration +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (const std::string& r : relationships)
        xml += r;
    return xml + "</Relationships>";
}

// One slide part and its relationships part.
inline std::pair<std::string, std::string> PptxSlideParts(const PptxSlide& slide) {
    std::string tree =
        "<p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>";
    std::vector<std::string> rels{
        PptxRelationship("rId1", "slideLayout", "../slideLayouts/slideLayout1.xml")};
    int id = 2;
    for (const PptxShape& s : slide.shapes) {
        std::string link;
        if (!s.action.empty()) {
            std::string rid;
            if (!s.target.empty()) {
                rid = "rId" + std::to_string(rels.size() + 1);
                rels.push_back(
                    PptxRelationship(rid, "hyperlink", XmlEscape(s.target), " TargetMode=\"External\""));
            }
            link = "<a:hlinkClick r:id=\"" + rid + "\" action=\"" + XmlEscape(s.action) + "\"/>";
        }
        // nvSpPr, nvPicPr, nvGrpSpPr, nvGraphicFramePr, nvCxnSpPr
        std::string nv = "nv" + s.element + "Pr";
        nv[2] = static_cast<char>(std::toupper(nv[2]));
        tree += "<p:" + s.element + "><p:" + nv + "><p:cNvPr id=\"" + std::to_string(id++) + "\" name=\"" +
                XmlEscape(s.name) + "\">" + link + "</p:cNvPr><p:nvPr/></p:" + nv + "></p:" + s.element + ">";
    }
    return {kXmlDeclaration + "<p:sld " + kPptxNamespaces + "><p:cSld><p:spTree>" + tree +
                "</p:spTree></p:cSld></p:sld>",
            PptxRelationships(rels)};
}

// The parts of a presentation with these slides, in this order.
inline ZipEntries PptxEntries(const std::vector<PptxSlide>& slides) {
    ZipEntries entries{{"[Content_Types].xml",
                        kXmlDeclaration + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                          "content-types\"><Default Extension=\"xml\" "
                                          "ContentType=\"application/xml\"/></Types>"}};
    std::string list;
    std::vector<std::string> rels;
    for (std::size_t i = 0; i < slides.size(); ++i) {
        const std::string n = std::to_string(i + 1), rid = "rId" + std::to_string(i + 2);
        list += "<p:sldId id=\"" + std::to_string(256 + i) + "\" r:id=\"" + rid + "\"/>";
        rels.push_back(PptxRelationship(rid, "slide", "slides/slide" + n + ".xml"));
        auto [slide, slideRels] = PptxSlideParts(slides[i]);
        entries.emplace_back("ppt/slides/slide" + n + ".xml", std::move(slide));
        entries.emplace_back("ppt/slides/_rels/slide" + n + ".xml.rels", std::move(slideRels));
    }
    entries.emplace_back("ppt/presentation.xml", kXmlDeclaration + "<p:presentation " + kPptxNamespaces +
                                                     "><p:sldIdLst>" + list +
                                                     "</p:sldIdLst><p:sldSz cx=\"9144000\" cy=\"6858000\"/>"
                                                     "</p:presentation>");
    entries.emplace_back("ppt/_rels/presentation.xml.rels", PptxRelationships(rels));
    return entries;
}

// The part of that name (it must exist).
inline std::string& Part(ZipEntries& entries, const std::string& name) {
    for (auto& [n, content] : entries)
        if (n == name)
            return content;
    throw std::runtime_error("no part " + name);
}

inline void WritePptx(const std::string& path, const std::vector<PptxSlide>& slides) {
    WriteZip(path, PptxEntries(slides));
}

} // namespace avelin::test
