#pragma once
// A zip archive whose entries are stored uncompressed, with correct checksums,
// so that a fuzzer's changes to the entries' bytes reach the reader of the
// archive instead of failing the checksum test.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace avelin::fuzz {

inline std::uint32_t Crc32(const std::string& data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// `entries`: (name, content) pairs, in archive order. Names and contents are
// cut to what 16- and 32-bit sizes hold.
inline std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string archive, directory;
    for (const auto& [fullName, content] : entries) {
        const std::string name = fullName.substr(0, 0xFFFF);
        const std::uint32_t crc = Crc32(content);
        const auto size = static_cast<std::uint32_t>(content.size());
        const auto offset = static_cast<std::uint32_t>(archive.size());
        // The fields that the local header and the directory entry share,
        // from "version needed" to the extra field's length.
        const auto putEntryFields = [&](std::string& out) {
            PutLittleEndian(out, 20, 2); // version needed
            PutLittleEndian(out, 0, 2);  // flags
            PutLittleEndian(out, 0, 2);  // stored
            PutLittleEndian(out, 0, 4);  // time and date
            PutLittleEndian(out, crc, 4);
            PutLittleEndian(out, size, 4);
            PutLittleEndian(out, size, 4);
            PutLittleEndian(out, static_cast<std::uint32_t>(name.size()), 2);
            PutLittleEndian(out, 0, 2); // extra field
        };
        PutLittleEndian(archive, 0x04034b50u, 4); // local header
        putEntryFields(archive);
        archive += name;
        archive += content;

        PutLittleEndian(directory, 0x02014b50u, 4); // central directory entry
        PutLittleEndian(directory, 20, 2);          // version made by
        putEntryFields(directory);
        PutLittleEndian(directory, 0, 2); // comment
        PutLittleEndian(directory, 0, 2); // disk
        PutLittleEndian(directory, 0, 2); // internal attributes
        PutLittleEndian(directory, 0, 4); // external attributes
        PutLittleEndian(directory, offset, 4);
        directory += name;
    }
    const auto directoryOffset = static_cast<std::uint32_t>(archive.size());
    archive += directory;
    PutLittleEndian(archive, 0x06054b50u, 4); // end of central directory
    PutLittleEndian(archive, 0, 2);
    PutLittleEndian(archive, 0, 2);
    PutLittleEndian(archive, static_cast<std::uint32_t>(entries.size()), 2);
    PutLittleEndian(archive, static_cast<std::uint32_t>(entries.size()), 2);
    PutLittleEndian(archive, static_cast<std::uint32_t>(directory.size()), 4);
    PutLittleEndian(archive, directoryOffset, 4);
    PutLittleEndian(archive, 0, 2); // comment
    return archive;
}

} // namespace avelin::fuzz
