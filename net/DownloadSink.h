#pragma once
#include <cstdint>

// Where the body of a fetch goes, block by block as it arrives. The fetch
// calls begin once the server has answered with the file, then receive for
// each block in order, then end when the body is complete. Once begin has
// been called, the fetch finishes in exactly one of two ways: end returned
// true (the sink keeps the body), or drop is called (anything else: a refusal
// by the sink, a broken or cut-off transfer, a stop asked for by the owner).
class DownloadSink {
public:
    virtual ~DownloadSink() = default;

    // Gets ready to take a body; announcedLength is the length the server
    // announced, or -1 when it announced none. False refuses the body before
    // any of it arrives: the fetch fails with refusal().
    virtual bool begin(long long announcedLength) = 0;
    // Takes the next count bytes of the body (count > 0). False stops the
    // fetch at once, before anything more is read: it fails with refusal().
    virtual bool receive(const char *block, std::uint32_t count) = 0;
    // The body arrived whole. True keeps it, finished and closed, for the
    // fetch's caller; false refuses it and the fetch fails with refusal().
    virtual bool end() = 0;
    // The fetch failed or was stopped: forget what was received and leave
    // nothing of it on disk. Safe to call at any point after begin.
    virtual void drop() = 0;

    // The result code the fetch fails with after begin, receive or end
    // returned false: a download status or another string-table identifier.
    // Its warning is captioned with path() below 5100, with the URL from 5100 on.
    virtual int refusal() const = 0;
    // The local file the body goes to, for the captions of warnings about it.
    virtual const char *path() const = 0;
};
