#pragma once
// A fresh folder under the system's temporary folder, removed with its
// content when the test ends.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace avelin::test {

class TempFolder {
  public:
    TempFolder() {
        static std::atomic<int> counter{0};
#ifdef _WIN32
        const int pid = _getpid();
#else
        const int pid = static_cast<int>(getpid());
#endif
        path_ = std::filesystem::temp_directory_path() /
                ("avelin-test-" + std::to_string(pid) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const {
        return path_.string();
    }
    // Full path of `name` inside the folder.
    std::string at(const std::string& name) const {
        return (path_ / name).string();
    }

    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream out(path_ / name, std::ios::binary);
        out << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool exists(const std::string& name) const {
        return std::filesystem::exists(path_ / name);
    }
    // Names of everything in the folder (sorted), to prove nothing else was created.
    std::string listing() const {
        std::string all;
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        for (const auto& n : names)
            all += n + "\n";
        return all;
    }

  private:
    std::filesystem::path path_;
};

} // namespace avelin::test
