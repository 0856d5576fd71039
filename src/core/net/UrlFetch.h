#pragma once
// Fetching one address over HTTP or HTTPS into memory, with limits on time,
// size and redirects. HTTPS is checked against the system's certificate
// store; the system's proxy settings (http_proxy, https_proxy, no_proxy) are
// used. Every failure is one Japanese sentence naming the address.
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace n4 {

struct FetchLimits {
    std::chrono::milliseconds connectTimeout{10000};
    std::chrono::milliseconds transferTimeout{60000}; // the whole fetch, redirects included
    std::size_t maxBytes = std::size_t{16} << 20;     // a longer body is refused
    int maxRedirects = 5;
};

// Told the bytes received so far and the length announced (-1 when none);
// returning false cancels the fetch.
using FetchProgress = std::function<bool(std::size_t received, long long expected)>;

struct FetchOptions {
    FetchLimits limits;
    // A PEM file of further certificate authorities to trust beside the
    // system's, or "".
    std::string extraCaFile;
    FetchProgress progress;
};

enum class FetchFailure {
    None,
    BadAddress,       // not an http:// or https:// address
    NoHost,           // the name does not resolve, or no network at all
    Refused,          // nothing listens there
    TimedOut,         // connecting or the whole transfer took too long
    HttpStatus,       // the server answered with an error status (status says which)
    TooManyRedirects, // more redirects than the limit: a loop, most likely
    InsecureRedirect, // a redirect from HTTPS to plain HTTP
    TooLarge,         // the body is longer than the limit
    Truncated,        // the connection ended before the announced length
    Certificate,      // the server's certificate does not verify
    Cancelled,        // the progress callback said stop
    Other,
};

struct FetchResult {
    FetchFailure failure = FetchFailure::None;
    long status = 0;     // the last HTTP status received, 0 when none
    std::string url;     // the address the body came from, after redirects
    std::string body;    // the whole body when ok
    std::string message; // Japanese, naming the address, when !ok

    bool ok() const { return failure == FetchFailure::None; }
};

FetchResult fetchUrl(const std::string& url, const FetchOptions& options = {});

} // namespace n4
