#include "core/net/UrlFetch.h"

#include <cerrno>
#include <curl/curl.h>
#include <memory>
#include <mutex>
#include <sstream>

namespace n4 {

namespace {

using Clock = std::chrono::steady_clock;
using Easy = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;

void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// What one request gathers while libcurl runs it.
struct Transfer {
    std::string body;
    std::size_t maxBytes = 0;
    const FetchProgress* progress = nullptr;
    bool tooLarge = false;
    bool cancelled = false;
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (n > t.maxBytes - t.body.size()) {
        t.tooLarge = true;
        return 0; // libcurl stops with a write error
    }
    t.body.append(data, n);
    return n;
}

int onProgress(void* user, curl_off_t expected, curl_off_t, curl_off_t, curl_off_t) {
    auto& t = *static_cast<Transfer*>(user);
    if (!*t.progress || (*t.progress)(t.body.size(), expected > 0 ? expected : -1)) return 0;
    t.cancelled = true;
    return 1;
}

// "http" or "https" in lower case, or "" for any other address.
std::string schemeOf(const std::string& url) {
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), curl_url_cleanup);
    char* scheme = nullptr;
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK ||
        curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK)
        return {};
    std::string s = scheme;
    curl_free(scheme);
    return s == "http" || s == "https" ? s : std::string();
}

// 10 秒, 0.3 秒
std::string seconds(std::chrono::milliseconds ms) {
    std::ostringstream s;
    s << ms.count() / 1000.0 << " 秒";
    return s.str();
}

FetchResult failed(FetchResult r, FetchFailure failure, const std::string& what) {
    r.failure = failure;
    r.body.clear();
    r.message = "「" + r.url + "」" + what;
    return r;
}

std::string statusText(long status) {
    switch (status) {
    case 400:
        return "（要求が正しくありません）";
    case 401:
    case 403:
        return "（読むことを許されていません）";
    case 404:
        return "（見つかりません）";
    case 429:
        return "（問い合わせが多すぎます。しばらくしてからもう一度どうぞ）";
    case 500:
        return "（サーバーの内部エラー）";
    case 502:
    case 503:
    case 504:
        return "（サーバーが一時的に使えません）";
    default:
        return "";
    }
}

FetchResult curlFailure(CURL* curl, FetchResult r, CURLcode code, const Transfer& t,
                        const FetchLimits& limits) {
    long osError = 0;
    curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &osError);
    curl_off_t connected = 0;
    curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connected);
    const std::string mib = limits.maxBytes % (1u << 20) == 0
                                ? std::to_string(limits.maxBytes >> 20) + " MiB "
                                : std::to_string(limits.maxBytes) + " バイト";
    if (t.cancelled) return failed(r, FetchFailure::Cancelled, "の受信を取りやめました。");
    if (t.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
        return failed(r, FetchFailure::TooLarge,
                      "の内容が大きすぎます（受け取れるのは " + mib + "までです）。");
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return failed(r, FetchFailure::NoHost,
                      "のサーバーが見つかりません（インターネットにつながっていないか、"
                      "アドレスが違います）。");
    case CURLE_COULDNT_RESOLVE_PROXY:
        return failed(r, FetchFailure::NoHost,
                      "に使うプロキシのサーバーが見つかりません（環境変数の http_proxy・"
                      "https_proxy を確かめてください）。");
    case CURLE_COULDNT_CONNECT:
        if (osError == ECONNREFUSED)
            return failed(r, FetchFailure::Refused,
                          "に接続できません（接続を断られました。サーバーが動いていません）。");
        return failed(r, FetchFailure::NoHost,
                      "に接続できません（インターネットにつながっていないようです）。");
    case CURLE_OPERATION_TIMEDOUT:
        if (connected == 0)
            return failed(r, FetchFailure::TimedOut,
                          "に接続できません（" + seconds(limits.connectTimeout) +
                              "待っても応答がありません）。");
        return failed(r, FetchFailure::TimedOut, "の受信が時間内に終わりませんでした。");
    case CURLE_PARTIAL_FILE:
        return failed(r, FetchFailure::Truncated,
                      "の受信が途中で切れました（予告された長さより短い内容です）。");
    case CURLE_PEER_FAILED_VERIFICATION:
        return failed(r, FetchFailure::Certificate,
                      "のサーバー証明書を確かめられません（信頼できる発行元のものではないか、"
                      "期限切れか、別の名前のものです）。安全でないため接続しません。");
    case CURLE_SSL_CACERT_BADFILE:
        return failed(r, FetchFailure::Certificate,
                      "の証明書を確かめるための認証局のファイルを読めません。");
    case CURLE_SSL_CONNECT_ERROR:
        return failed(r, FetchFailure::Certificate, "と安全な接続（TLS）を確立できません。");
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
        return failed(r, FetchFailure::Truncated, "からの受信が途中で切れました。");
    default:
        return failed(r, FetchFailure::Other,
                      std::string("を受信できません（") + curl_easy_strerror(code) + "）。");
    }
}

void setCommonOptions(CURL* curl, Transfer& t, const FetchOptions& options) {
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    // Redirects are followed here, one at a time, to see where each leads.
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Numbers4Marvo");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(options.limits.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(options.limits.maxBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    // The extra file is the CA file; the system's certificate folder, which
    // libcurl looks in as well, still holds the system's authorities.
    if (!options.extraCaFile.empty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, options.extraCaFile.c_str());
}

} // namespace

FetchResult fetchUrl(const std::string& url, const FetchOptions& options) {
    initialiseOnce();
    FetchResult result;
    result.url = url;
    std::string scheme = schemeOf(url);
    if (scheme.empty())
        return failed(result, FetchFailure::BadAddress,
                      "は http:// か https:// で始まるアドレスではありません。");
    Easy curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return failed(result, FetchFailure::Other, "を受信する準備ができません。");
    Transfer t;
    t.maxBytes = options.limits.maxBytes;
    t.progress = &options.progress;
    setCommonOptions(curl.get(), t, options);
    const Clock::time_point deadline = Clock::now() + options.limits.transferTimeout;
    for (int redirects = 0;; ++redirects) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return failed(result, FetchFailure::TimedOut, "の受信が時間内に終わりませんでした。");
        curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()));
        curl_easy_setopt(curl.get(), CURLOPT_URL, result.url.c_str());
        t.body.clear();
        const CURLcode code = curl_easy_perform(curl.get());
        curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &result.status);
        if (code != CURLE_OK) return curlFailure(curl.get(), result, code, t, options.limits);
        if (result.status >= 300 && result.status < 400) {
            char* location = nullptr;
            curl_easy_getinfo(curl.get(), CURLINFO_REDIRECT_URL, &location);
            if (!location)
                return failed(result, FetchFailure::HttpStatus,
                              "は別の場所へ移ったと答えましたが、移った先がありません（HTTP " +
                                  std::to_string(result.status) + "）。");
            if (redirects == options.limits.maxRedirects)
                return failed(result, FetchFailure::TooManyRedirects,
                              "は別の場所への転送（リダイレクト）が " +
                                  std::to_string(options.limits.maxRedirects) +
                                  " 回を超えました（転送が輪になっているようです）。");
            const std::string next = location, nextScheme = schemeOf(next);
            if (scheme == "https" && nextScheme == "http")
                return failed(result, FetchFailure::InsecureRedirect,
                              "は暗号化されない http のアドレス「" + next +
                                  "」へ転送しようとしました。安全でないため従いません。");
            if (nextScheme.empty())
                return failed(result, FetchFailure::BadAddress,
                              "の転送先「" + next +
                                  "」は http か https のアドレスではありません。");
            result.url = next;
            scheme = nextScheme;
            continue;
        }
        if (result.status < 200 || result.status >= 300)
            return failed(result, FetchFailure::HttpStatus,
                          "を受信できません: サーバーの答えは HTTP " +
                              std::to_string(result.status) + statusText(result.status) + "。");
        result.body = std::move(t.body);
        return result;
    }
}

} // namespace n4
