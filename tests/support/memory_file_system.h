#pragma once
// A file system held in memory: files are a map from path to content. Enough
// for core code that tests, reads and writes files; a group of files is
// written all at once, after every content is complete.
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace avelin::test {

// A sink that collects what is written.
struct StringSink : FileSink {
    std::string text;
    void write(std::string_view bytes) override { text += bytes; }
};

class MemoryFileSystem : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    mutable int reads = 0; // readAll calls

    bool fileExists(const std::string& path) const override { return files.count(path) > 0; }
    bool folderExists(const std::string& path) const override {
        const std::string prefix = path + kPathSeparator;
        for (const auto& [name, content] : files)
            if (name.compare(0, prefix.size(), prefix) == 0)
                return true;
        return false;
    }
    std::vector<std::string> listFiles(const std::string& folder) const override {
        std::vector<std::string> names;
        const std::string prefix = folder + kPathSeparator;
        for (const auto& [name, content] : files)
            if (name.compare(0, prefix.size(), prefix) == 0 &&
                name.find(kPathSeparator, prefix.size()) == std::string::npos)
                names.push_back(name.substr(prefix.size()));
        return names;
    }
    std::vector<std::string> listFolders(const std::string&) const override { return {}; }
    std::string readAll(const std::string& path) const override {
        ++reads;
        const auto it = files.find(path);
        if (it == files.end())
            throw FileError(path, "No such file or directory");
        return it->second;
    }
    std::unique_ptr<FileReader> openForReading(const std::string& path) const override {
        struct Reader : FileReader {
            std::string content;
            std::size_t readAt(std::uint64_t offset, char* to, std::size_t size) override {
                return content.copy(to, size, std::min<std::size_t>(offset, content.size()));
            }
            std::uint64_t size() override { return content.size(); }
        };
        if (folderExists(path))
            throw FileError(path, kFolderReason);
        auto reader = std::make_unique<Reader>();
        reader->content = readAll(path);
        return reader;
    }
    std::optional<std::string> readFirstLine(const std::string& path) const override {
        const auto it = files.find(path);
        if (it == files.end() || it->second.empty())
            return std::nullopt;
        return it->second.substr(0, it->second.find_first_of("\r\n"));
    }
    void writeFile(const std::string& path, const std::string& content) override { files[path] = content; }
    void writeFiles(const std::vector<std::string>& paths, const FileContent& content) override {
        std::vector<StringSink> sinks(paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i)
            content(i, sinks[i]);
        for (std::size_t i = 0; i < paths.size(); ++i)
            files[paths[i]] = std::move(sinks[i].text);
    }
    void removeFile(const std::string& path) override { files.erase(path); }
    std::string currentDirectory() const override { return current; }
    void setCurrentDirectory(const std::string& path) override { current = path; }
    void changeDrive(const std::string&) override {}

    std::string current = "/";
};

} // namespace avelin::test
