#pragma once
// Writes .pptx packages for tests and benchmarks: a zip of named parts, and
// the few parts a presentation needs to list its slides and shapes.
#include <zip.h>

#include <stdexcept>
#include <string>
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
        zip_source_t* source = zip_source_buffer(zip, content.data(), content.size(), 0);
        if (!source || zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            zip_discard(zip);
            throw std::runtime_error("cannot add " + name + " to " + path);
        }
    }
    // The buffers must live until the archive is written, which they do here.
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
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

inline const char* kPptxNamespaces =
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";

inline std::string PptxRelationships(const std::vector<std::string>& relationships) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (const std::string& r : relationships)
        xml += r;
    return xml + "</Relationships>";
}

// One slide part and its relationships part.
inline std::pair<std::string, std::string> PptxSlideParts(const PptxSlide& slide) {
    std::string tree =
        "<p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>";
    std::vector<std::string> rels;
    int id = 2;
    for (const PptxShape& s : slide.shapes) {
        std::string link;
        if (!s.action.empty()) {
            std::string rid;
            if (!s.target.empty()) {
                rid = "rId" + std::to_string(rels.size() + 2);
                rels.push_back(
                    "<Relationship Id=\"" + rid +
                    "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                    "hyperlink\" Target=\"" +
                    XmlEscape(s.target) + "\" TargetMode=\"External\"/>");
            }
            link = "<a:hlinkClick r:id=\"" + rid + "\" action=\"" + XmlEscape(s.action) + "\"/>";
        }
        const std::string nv = s.element == "sp"             ? "nvSpPr"
                               : s.element == "pic"          ? "nvPicPr"
                               : s.element == "grpSp"        ? "nvGrpSpPr"
                               : s.element == "graphicFrame" ? "nvGraphicFramePr"
                                                             : "nvCxnSpPr";
        tree += "<p:" + s.element + "><p:" + nv + "><p:cNvPr id=\"" + std::to_string(id++) + "\" name=\"" +
                XmlEscape(s.name) + "\">" + link + "</p:cNvPr><p:nvPr/></p:" + nv + "></p:" + s.element + ">";
    }
    rels.insert(rels.begin(), "<Relationship Id=\"rId1\" "
                              "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                              "slideLayout\" Target=\"../slideLayouts/slideLayout1.xml\"/>");
    return {"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<p:sld " +
                std::string(kPptxNamespaces) + "><p:cSld><p:spTree>" + tree + "</p:spTree></p:cSld></p:sld>",
            PptxRelationships(rels)};
}

// The parts of a presentation with these slides, in this order.
inline ZipEntries PptxEntries(const std::vector<PptxSlide>& slides) {
    ZipEntries entries;
    entries.emplace_back("[Content_Types].xml",
                         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Types "
                         "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default "
                         "Extension=\"xml\" ContentType=\"application/xml\"/></Types>");
    std::string list;
    std::vector<std::string> rels;
    for (std::size_t i = 0; i < slides.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        list += "<p:sldId id=\"" + std::to_string(256 + i) + "\" r:id=\"rId" + std::to_string(i + 2) + "\"/>";
        rels.push_back(
            "<Relationship Id=\"rId" + std::to_string(i + 2) +
            "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/slide\" "
            "Target=\"slides/slide" +
            n + ".xml\"/>");
        auto [slide, slideRels] = PptxSlideParts(slides[i]);
        entries.emplace_back("ppt/slides/slide" + n + ".xml", std::move(slide));
        entries.emplace_back("ppt/slides/_rels/slide" + n + ".xml.rels", std::move(slideRels));
    }
    entries.emplace_back("ppt/presentation.xml",
                         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<p:presentation " +
                             std::string(kPptxNamespaces) + "><p:sldIdLst>" + list +
                             "</p:sldIdLst><p:sldSz cx=\"9144000\" cy=\"6858000\"/></p:presentation>");
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
