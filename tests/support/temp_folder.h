#pragma once
// A fresh folder under the system's temporary folder, removed with its
// content when the test ends.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>
#ifdef _WIN32
#include <process.h>
#define AVELIN_TEST_PID _getpid()
#else
#include <unistd.h>
#define AVELIN_TEST_PID getpid()
#endif

namespace avelin::test {

// The system's words for a missing file and a missing folder on the way.
#ifdef _WIN32
inline const std::string kNoSuchFile = "File not found", kNoSuchFolder = "Path not found";
#else
inline const std::string kNoSuchFile = "No such file or directory", kNoSuchFolder = kNoSuchFile;
#endif

// The whole content of a file, "" when it cannot be read.
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Names of everything in a folder (sorted), to prove nothing else was created.
inline std::string Listing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string all;
    for (const auto& n : names)
        all += n + "\n";
    return all;
}

class TempFolder {
  public:
    TempFolder() {
        // The process id and a random number: Wine gives its processes the
        // same few ids run after run.
        static std::atomic<int> counter{0};
        static const unsigned salt = std::random_device{}();
        path_ = std::filesystem::temp_directory_path() /
                ("avelin-test-" + std::to_string(AVELIN_TEST_PID) + "-" + std::to_string(salt % 100000) +
                 "-" + std::to_string(counter++));
        RemoveTree(path_); // left by an earlier program with the same name
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { RemoveTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const { return path_.string(); }
    // In the system's spelling: "a/b" names a\b on Windows.
    std::string at(const std::string& name) const {
        return (path_ / std::filesystem::path(name).make_preferred()).string();
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const { return ReadBytes(path_ / name); }
    bool exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }
    std::string listing() const { return Listing(path_); }

  private:
    // Read-only files too: Windows refuses to delete them, and tests make some.
    static void RemoveTree(const std::filesystem::path& folder) {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(folder, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(folder, ec);
    }

    std::filesystem::path path_;
};

} // namespace avelin::test
