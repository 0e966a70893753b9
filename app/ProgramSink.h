#pragma once
#include "catalogue/CatalogueEntry.h"
#include "catalogue/Sha256.h"
#include "net/DownloadSink.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"

#include <cstddef>
#include <cstdint>

// Where the Update's download of one program goes: a new file, created and
// held from the first byte to the last copy made from it with a handle that
// shares neither writing nor deletion, so no other program can change,
// rename or delete it in between. Its SHA-256 is taken as the blocks arrive.
// Where the catalogue gives the program's size, a body that passes it is
// stopped at once, and one that ends shorter is refused; both as "The
// downloaded file is not the expected program.". The file goes when its
// handle closes: when the fetch fails and when the sink goes.
class ProgramSink : public DownloadSink {
public:
    // Room for a path of the run's folder and a catalogue name that does not
    // fit, so that its warning names it whole. A path longer than
    // PathBufferSize is a file that cannot be created.
    static constexpr std::size_t PathRoom = PathBufferSize + FileNameFieldSize;

    ProgramSink() = default;
    ~ProgramSink() override;
    ProgramSink(const ProgramSink &) = delete;
    ProgramSink &operator=(const ProgramSink &) = delete;

    // The file to make (it must not exist yet; a path beyond PathRoom is
    // taken as none) and the entry whose size and checksum it is held to.
    // Both are copied: the catalogue may be freed while the fetch runs.
    void prepare(const char *path, const CatalogueEntry &entry);

    bool begin(long long announcedLength) override;
    bool receive(const char *block, std::uint32_t count) override;
    bool end() override;
    void drop() override;
    int refusal() const override { return refusal_; }
    const char *path() const override { return path_; }

    // After a kept body: the held file, readable through this handle; else
    // an invalid handle.
    HANDLE heldFile() const { return kept_ ? file_.get() : INVALID_HANDLE_VALUE; }
    // True when the kept body's SHA-256 equals the catalogue's checksum, or
    // the catalogue gives none for it.
    bool matchesChecksum() const;

private:
    bool refuse(int code);

    char path_[PathRoom] = "";
    CatalogueEntry entry_{};
    FileHandle file_;
    Sha256 hash_;
    Sha256Digest digest_{};
    std::uint64_t received_ = 0;
    int refusal_ = 0;
    bool hashed_ = false;
    bool kept_ = false;
};
