#include "platform/pptx_reader.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>
#include <pugixml.hpp>
#include <unordered_map>
#include <vector>

#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/path_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace avelin {

namespace {

// A presentation's XML parts are a few megabytes at most; the caps stop a
// hostile archive from filling the memory.
constexpr zip_uint64_t kMaxPartBytes = 64ull << 20;
constexpr zip_uint64_t kMaxTotalBytes = 512ull << 20;

const char* localName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool isNamed(const pugi::xml_node& node, const char* local) {
    return node.type() == pugi::node_element && std::strcmp(localName(node.name()), local) == 0;
}

pugi::xml_node childNamed(const pugi::xml_node& parent, const char* local) {
    for (pugi::xml_node child : parent.children())
        if (isNamed(child, local))
            return child;
    return {};
}

// The relationship id of an element (r:id, whatever the prefix): the only
// prefixed attribute named "id" that these elements carry.
std::string relationshipId(const pugi::xml_node& node) {
    for (pugi::xml_attribute a : node.attributes()) {
        const char* name = a.name();
        if (std::strchr(name, ':') && std::strcmp(localName(name), "id") == 0 &&
            std::strncmp(name, "xmlns", 5) != 0)
            return a.value();
    }
    return {};
}

// Texts of the XML are UTF-8; the program's texts are in the system code page.
std::string toSystemCodePage(const std::string& utf8) {
#ifdef _WIN32
    if (utf8.empty())
        return utf8;
    const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), wide);
    const int narrow = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), wide, s.data(), narrow, nullptr, nullptr);
    return s;
#else
    return utf8; // the system code page of Linux and macOS is UTF-8
#endif
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool startsWithNoCase(const std::string& s, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    if (s.size() < n)
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i])
            return false;
    return true;
}

} // namespace

// The program-run text of a "run program" action, from the URL PowerPoint
// stores for it ("file:///C:\Program%20Files\avelin\avelin.exe%20vote1.AVL,1"):
// percent escapes decoded and the "file:///" prefix removed. PowerPoint keeps
// the backslashes of the path as typed, so slashes are left as they stand; a
// "file://host/..." URL becomes the network path "\\host/...".
std::string ProgramRunFromUrl(const std::string& url) {
    std::string rest = url;
    std::string lead;
    if (startsWithNoCase(rest, "file:///")) {
        rest.erase(0, 8);
    } else if (startsWithNoCase(rest, "file://")) {
        rest.erase(0, 7);
        lead = "\\\\";
    }
    std::string decoded = lead;
    decoded.reserve(lead.size() + rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && hexValue(rest[i + 1]) >= 0 &&
            hexValue(rest[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(rest[i + 1]) * 16 + hexValue(rest[i + 2]));
            i += 2;
        } else {
            decoded += rest[i];
        }
    }
    return decoded;
}

namespace {

struct Relationship {
    std::string target;
    bool external = false;
};

class Package {
  public:
    explicit Package(std::string path) : path_(std::move(path)) {
        std::error_code ec;
        if (std::filesystem::is_directory(PathOf(path_), ec))
            throw FileError(path_, kFolderReason);
        zip_error_t error;
        zip_error_init(&error);
#ifdef _WIN32
        // libzip takes file names in UTF-8 on Windows; the program's are ANSI.
        open(zip_source_win32a_create(path_.c_str(), 0, -1, &error), error);
#else
        open(zip_source_file_create(path_.c_str(), 0, -1, &error), error);
#endif
    }
    // An archive held in memory; `bytes` must outlive the package.
    Package(const std::string& bytes, std::string path) : path_(std::move(path)) {
        zip_error_t error;
        zip_error_init(&error);
        open(zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error), error);
    }
    ~Package() {
        zip_discard(archive_);
    }
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    const std::string& path() const {
        return path_;
    }

    bool has(const std::string& part) const {
        return index_.count(Folded(part)) > 0;
    }

    std::string read(const std::string& part) {
        const auto found = index_.find(Folded(part));
        if (found == index_.end())
            throw FormatError(path_, 0, "the part " + part + " is missing");
        const zip_uint64_t index = found->second;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive_, index, 0, &st) != 0)
            throw FormatError(path_, 0, "the part " + part + " cannot be read: " + zip_strerror(archive_));
        if ((st.valid & ZIP_STAT_SIZE) && st.size > kMaxPartBytes)
            throw tooLarge(part);
        zip_file_t* file = zip_fopen_index(archive_, index, 0);
        if (!file)
            throw FormatError(path_, 0, "the part " + part + " cannot be read: " + zip_strerror(archive_));
        // Read in chunks up to the cap: the size in the directory may lie.
        std::string data;
        char buffer[1 << 16];
        for (;;) {
            const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
            if (n < 0) {
                const std::string reason = zip_file_strerror(file);
                zip_fclose(file);
                throw FormatError(path_, 0, "the part " + part + " cannot be read: " + reason);
            }
            if (n == 0)
                break;
            data.append(buffer, static_cast<std::size_t>(n));
            if (data.size() > kMaxPartBytes) {
                zip_fclose(file);
                throw tooLarge(part);
            }
        }
        zip_fclose(file);
        total_ += data.size();
        if (total_ > kMaxTotalBytes)
            throw FormatError(path_, 0, "the parts of the presentation are larger than 512 MiB together");
        return data;
    }

    void parse(const std::string& part, pugi::xml_document& doc) {
        const std::string data = read(part);
        const pugi::xml_parse_result result = doc.load_buffer(data.data(), data.size());
        if (!result)
            throw FormatError(path_, 0,
                              "the part " + part + " is not well-formed XML (" + result.description() +
                                  " at byte " + std::to_string(result.offset) + ")");
    }

    // The relationships of a part ("ppt/slides/slide1.xml" has them in
    // "ppt/slides/_rels/slide1.xml.rels"); none when that part is absent.
    std::map<std::string, Relationship> relationships(const std::string& part) {
        const std::size_t slash = part.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
        const std::string relsPart = folder + "_rels/" + part.substr(folder.size()) + ".rels";
        std::map<std::string, Relationship> rels;
        if (!has(relsPart))
            return rels;
        pugi::xml_document doc;
        parse(relsPart, doc);
        for (pugi::xml_node r : doc.document_element().children()) {
            if (!isNamed(r, "Relationship"))
                continue;
            Relationship rel;
            rel.external = std::strcmp(r.attribute("TargetMode").value(), "External") == 0;
            rel.target =
                rel.external ? r.attribute("Target").value() : resolve(folder, r.attribute("Target").value());
            rels[r.attribute("Id").value()] = rel;
        }
        return rels;
    }

  private:
    // Part names are found without regard to the case of A-Z, the first
    // entry of a name winning.
    static std::string Folded(std::string name) {
        for (char& c : name)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return name;
    }

    // Opens the archive from `source` (nullptr when it could not be made, with
    // `error` saying why); throws when it cannot. The names of its entries are
    // indexed once, so that a presentation of many slides costs no search
    // through all entries for every part.
    void open(zip_source_t* source, zip_error_t& error) {
        if (source)
            archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!archive_) {
            zip_source_free(source); // the archive did not take it over
            failed(&error);
        }
        const zip_int64_t entries = zip_get_num_entries(archive_, 0);
        index_.reserve(static_cast<std::size_t>(std::max<zip_int64_t>(entries, 0)));
        for (zip_int64_t i = 0; i < entries; ++i)
            if (const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), 0))
                index_.emplace(Folded(name), static_cast<zip_uint64_t>(i));
    }

    // Throws the error that opening the archive ended with.
    [[noreturn]] void failed(zip_error_t* error) const {
        const int code = zip_error_code_zip(error);
        const std::string reason = zip_error_strerror(error);
        zip_error_fini(error);
        if (code == ZIP_ER_NOENT || code == ZIP_ER_OPEN || code == ZIP_ER_READ || code == ZIP_ER_MEMORY)
            throw FileError(path_, reason);
        throw FormatError(path_, 0, "not a presentation (.pptx) file: " + reason);
    }

    FormatError tooLarge(const std::string& part) const {
        return FormatError(path_, 0,
                           "the part " + part + " is larger than 64 MiB, far more than a presentation holds");
    }

    // An internal target relative to the folder of its source part, or
    // absolute from the package root when it starts with "/".
    static std::string resolve(const std::string& folder, const std::string& target) {
        std::string joined = !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
        std::vector<std::string> parts;
        std::size_t start = 0;
        while (start <= joined.size()) {
            const std::size_t slash = std::min(joined.find('/', start), joined.size());
            const std::string segment = joined.substr(start, slash - start);
            if (segment == "..") {
                if (!parts.empty())
                    parts.pop_back();
            } else if (!segment.empty() && segment != ".") {
                parts.push_back(segment);
            }
            start = slash + 1;
        }
        std::string out;
        for (const std::string& p : parts)
            out += (out.empty() ? "" : "/") + p;
        return out;
    }

    std::string path_;
    zip_t* archive_ = nullptr;
    std::unordered_map<std::string, zip_uint64_t> index_;
    zip_uint64_t total_ = 0;
};

// The element that carries a shape's non-visual properties: the child named
// nv...Pr (nvSpPr, nvPicPr, nvGrpSpPr, nvGraphicFramePr, nvCxnSpPr, ...).
pugi::xml_node nonVisualProperties(const pugi::xml_node& shape) {
    for (pugi::xml_node child : shape.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const std::string name = localName(child.name());
        if (name.size() > 4 && name.compare(0, 2, "nv") == 0 && name.compare(name.size() - 2, 2, "Pr") == 0)
            return child;
    }
    return {};
}

// Markup compatibility wraps newer shapes in mc:AlternateContent; the
// fallback is the form every reader understands.
pugi::xml_node unwrapAlternate(const pugi::xml_node& node) {
    if (!isNamed(node, "AlternateContent"))
        return node;
    pugi::xml_node branch = childNamed(node, "Fallback");
    if (!branch)
        branch = childNamed(node, "Choice");
    return branch ? branch.find_child([](const pugi::xml_node& n) { return n.type() == pugi::node_element; })
                  : pugi::xml_node{};
}

std::string clickAction(const pugi::xml_node& cNvPr, const std::map<std::string, Relationship>& rels,
                        Package& package, const std::string& part) {
    const pugi::xml_node link = childNamed(cNvPr, "hlinkClick");
    if (!link)
        return {};
    const std::string action = link.attribute("action").value();
    static const std::string macro = "ppaction://macro?name=";
    if (action.compare(0, macro.size(), macro) == 0)
        return toSystemCodePage(action.substr(macro.size()));
    if (action != "ppaction://program")
        return {};
    const std::string id = relationshipId(link);
    const auto rel = rels.find(id);
    if (rel == rels.end())
        throw FormatError(package.path(), 0,
                          "the part " + part + " runs a program through the relationship \"" + id +
                              "\", which it does not have");
    return toSystemCodePage(ProgramRunFromUrl(rel->second.target));
}

SlideInfo readSlide(Package& package, const std::string& part) {
    pugi::xml_document doc;
    package.parse(part, doc);
    const auto rels = package.relationships(part);
    const pugi::xml_node tree = childNamed(childNamed(doc.document_element(), "cSld"), "spTree");
    if (!tree)
        throw FormatError(package.path(), 0, "the part " + part + " is not a slide (no shape tree)");
    SlideInfo slide;
    for (pugi::xml_node child : tree.children()) {
        const pugi::xml_node shape = unwrapAlternate(child);
        // The tree's own properties (nvGrpSpPr, grpSpPr) are no shapes.
        if (!shape || isNamed(shape, "nvGrpSpPr") || isNamed(shape, "grpSpPr"))
            continue;
        const pugi::xml_node cNvPr = childNamed(nonVisualProperties(shape), "cNvPr");
        if (!cNvPr)
            continue;
        ShapeInfo s{toSystemCodePage(cNvPr.attribute("name").value()), {}};
        if (IsVoteShape(s.name))
            s.actionRun = clickAction(cNvPr, rels, package, part);
        slide.shapes.push_back(std::move(s));
    }
    return slide;
}

} // namespace

namespace {

PresentationInfo ReadPackage(Package& package) {
    const std::string& path = package.path();
    const std::string presentationPart = "ppt/presentation.xml";
    pugi::xml_document doc;
    package.parse(presentationPart, doc);
    if (!isNamed(doc.document_element(), "presentation"))
        throw FormatError(path, 0, "the part " + presentationPart + " is not a presentation");
    const auto rels = package.relationships(presentationPart);

    PresentationInfo info = PresentationLocation(path);
    for (pugi::xml_node id : childNamed(doc.document_element(), "sldIdLst").children()) {
        if (!isNamed(id, "sldId"))
            continue;
        const std::string rid = relationshipId(id);
        const auto rel = rels.find(rid);
        if (rel == rels.end() || rel->second.external)
            throw FormatError(path, 0,
                              "the slide list names the relationship \"" + rid + "\", which " +
                                  presentationPart + " does not have");
        info.slides.push_back(readSlide(package, rel->second.target));
    }
    return info;
}

} // namespace

PresentationInfo PresentationLocation(const std::string& path) {
    const std::filesystem::path full = std::filesystem::absolute(PathOf(path)).lexically_normal();
    std::string folder = TextOf(full.parent_path());
    // The voting application puts "\" between folder and file name itself.
    // A lone "/" stays: an empty folder would mean "never saved".
    if (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return PresentationInfo{folder, TextOf(full.filename()), {}};
}

PresentationInfo ReadPptx(const std::string& path) {
    Package package(path);
    return ReadPackage(package);
}

PresentationInfo ReadPptxBytes(const std::string& bytes, const std::string& path) {
    Package package(bytes, path);
    return ReadPackage(package);
}

} // namespace avelin
