// The HTTP front of zelmora-service on GNU libmicrohttpd.
#include "service/httpfront.h"
#include "service/admin.h"
#include "service/requests.h"
#include "service/servicestore.h"

#include <microhttpd.h>

#include <arpa/inet.h>
#include <netdb.h>
#include <strings.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>
#include <vector>

namespace zel::service {
namespace {

using Clock = std::chrono::steady_clock;

// No byte moving for this long ends a connection, kept-alive or not.
constexpr unsigned kIdleSeconds = 10;
// A request head must be whole this long after the connection opened or
// its previous answer ended, however slowly its bytes trickle. (The library
// tells neither the first byte of a head nor the bytes between.)
constexpr auto kHeadDeadline = std::chrono::seconds(10);
constexpr size_t kMaxLine = 8 * 1024;
// Each connection's memory (the library's pool, all of it touched): the
// request head, the records of its header lines and the answer's head. A
// head that outgrows it is answered 414 or 431 by the library and the
// connection closed. 16 KB is twice the longest head the program sends (an
// 8 KB address) and keeps 2,000 kept-open connections within 32 MB.
constexpr size_t kConnectionMemory = 16 * 1024;
constexpr unsigned kBacklog = 1024;
// The program sends everything in the address; a body is never needed.
constexpr unsigned long long kMaxBody = 64 * 1024;
// The threads that wait for the storage; the sockets are served by two
// epoll threads (one per core) that never wait for it.
constexpr unsigned kEpollThreads = 2;
constexpr int kWorkers = 8;
// What SIGTERM leaves the answers under way, within the unit's stop time.
constexpr auto kStopGrace = std::chrono::milliseconds(8500);

// Seconds, the upper bounds of the latency histogram.
constexpr std::array<double, 12> kBuckets = {0.001, 0.0025, 0.005, 0.01, 0.025, 0.05,
                                            0.1,   0.25,   0.5,   1,    2.5,   5};

std::int64_t ticks(Clock::time_point t)
{
    return t.time_since_epoch().count();
}

// The text of an address, IPv4 also when it came mapped into IPv6.
std::string addressText(const sockaddr* sa)
{
    char text[INET6_ADDRSTRLEN] = "";
    if (sa == nullptr)
        return "-";
    if (sa->sa_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, text, sizeof text);
    } else if (sa->sa_family == AF_INET6) {
        const in6_addr& a = reinterpret_cast<const sockaddr_in6*>(sa)->sin6_addr;
        if (IN6_IS_ADDR_V4MAPPED(&a))
            inet_ntop(AF_INET, &a.s6_addr[12], text, sizeof text);
        else
            inet_ntop(AF_INET6, &a, text, sizeof text);
    }
    return text;
}

// An address in its canonical text, or empty when `text` is none.
std::string canonicalAddress(const std::string& text)
{
    sockaddr_storage s{};
    if (inet_pton(AF_INET, text.c_str(), &reinterpret_cast<sockaddr_in*>(&s)->sin_addr) == 1)
        s.ss_family = AF_INET;
    else if (inet_pton(AF_INET6, text.c_str(), &reinterpret_cast<sockaddr_in6*>(&s)->sin6_addr) == 1)
        s.ss_family = AF_INET6;
    else
        return {};
    return addressText(reinterpret_cast<const sockaddr*>(&s));
}

// A socket address for `host` (an IPv4 or IPv6 address, or a name that
// resolves to one) and `port`.
bool socketAddress(const QString& host, int port, sockaddr_storage* out)
{
    *out = {};
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return false;
    const bool ok = found != nullptr && found->ai_addrlen <= sizeof *out;
    if (ok)
        std::memcpy(out, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    return ok;
}

// Threads that run what may wait: the handler's storage and the marking of
// a message handed over.
class Workers {
public:
    explicit Workers(int count)
    {
        for (int i = 0; i < count; ++i)
            m_threads.emplace_back([this] { run(); });
    }
    ~Workers() { join(); }
    void push(std::function<void()> job)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_wake.notify_one();
    }
    bool idle()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_jobs.empty() && m_busy == 0;
    }
    // Runs the jobs left, then ends the threads.
    void join()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_ending = true;
        }
        m_wake.notify_all();
        for (std::thread& t : m_threads)
            t.join();
        m_threads.clear();
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_ending || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            std::function<void()> job = std::move(m_jobs.front());
            m_jobs.pop_front();
            ++m_busy;
            lock.unlock();
            job();
            lock.lock();
            --m_busy;
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    int m_busy = 0;
    bool m_ending = false;
    std::vector<std::thread> m_threads;
};

// Requests by route and status, and how long they took, for /metrics.
class Metrics {
public:
    void record(const std::string& route, int status, double seconds)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_requests[{route, status}];
        const auto bucket = std::lower_bound(kBuckets.begin(), kBuckets.end(), seconds) - kBuckets.begin();
        ++m_buckets[size_t(bucket)];
        m_seconds += seconds;
        ++m_count;
    }
    std::string text(ServiceStore& store)
    {
        std::string t;
        char line[512];
        t += "# HELP zelmora_requests_total Requests answered, by route and status.\n"
             "# TYPE zelmora_requests_total counter\n";
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& [key, n] : m_requests) {
            std::snprintf(line, sizeof line, "zelmora_requests_total{route=\"%s\",status=\"%d\"} %llu\n",
                          key.first.c_str(), key.second, static_cast<unsigned long long>(n));
            t += line;
        }
        t += "# HELP zelmora_request_duration_seconds From the request line to the last byte of the answer.\n"
             "# TYPE zelmora_request_duration_seconds histogram\n";
        unsigned long long cumulative = 0;
        for (size_t i = 0; i <= kBuckets.size(); ++i) {
            cumulative += m_buckets[i];
            if (i < kBuckets.size())
                std::snprintf(line, sizeof line, "zelmora_request_duration_seconds_bucket{le=\"%g\"} %llu\n",
                              kBuckets[i], cumulative);
            else
                std::snprintf(line, sizeof line, "zelmora_request_duration_seconds_bucket{le=\"+Inf\"} %llu\n",
                              cumulative);
            t += line;
        }
        std::snprintf(line, sizeof line,
                      "zelmora_request_duration_seconds_sum %.6f\nzelmora_request_duration_seconds_count %llu\n",
                      m_seconds, static_cast<unsigned long long>(m_count));
        t += line;
        long long queued = -1;
        try {
            queued = store.queuedMessages();
        } catch (const StoreError&) {
        }
        std::snprintf(line, sizeof line,
                      "# HELP zelmora_queued_messages Messages waiting to be handed out (-1: storage unreachable).\n"
                      "# TYPE zelmora_queued_messages gauge\nzelmora_queued_messages %lld\n"
                      "# HELP zelmora_database_errors_total Storage operations that failed.\n"
                      "# TYPE zelmora_database_errors_total counter\nzelmora_database_errors_total %lld\n",
                      queued, static_cast<long long>(store.databaseErrors()));
        t += line;
        return t;
    }

private:
    std::mutex m_mutex;
    std::map<std::pair<std::string, int>, unsigned long long> m_requests;
    std::array<unsigned long long, kBuckets.size() + 1> m_buckets{};
    double m_seconds = 0;
    unsigned long long m_count = 0;
};

// The routes the metrics tell apart; anything else is "other", so that no
// caller can make up new series.
std::string routeOf(const QByteArray& target)
{
    const qsizetype mark = target.indexOf('?');
    const QByteArray path = mark < 0 ? target : target.left(mark);
    if (path == "/sp/zm.php") {
        const std::optional<QString> what = queryValue(target.mid(mark + 1), "query");
        for (const char* known : {"createID", "getmessage", "sendmessage"})
            if (mark >= 0 && what == QLatin1String(known))
                return std::string("/sp/zm.php?query=") + known;
        return "/sp/zm.php";
    }
    for (const char* known : {"/sp/sendlog.php", "/ip.html", "/send.php"})
        if (path == known)
            return known;
    if (path.startsWith("/updates/"))
        return "/updates/";
    return "other";
}

// Addresses whose answer needs no storage: answered on the socket threads
// at once, however busy the storage is.
bool answeredWithoutStore(const QByteArray& target)
{
    return target == "/ip.html" || (target.startsWith("/updates/") && !target.contains('?'));
}

} // namespace

QByteArray loggedTarget(const QByteArray& target)
{
    const qsizetype mark = target.indexOf('?');
    QByteArray kept = mark < 0 ? target : target.left(mark + 1);
    if (mark >= 0) {
        const QList<QByteArray> pairs = target.mid(mark + 1).split('&');
        for (qsizetype i = 0; i < pairs.size(); ++i) {
            const qsizetype eq = pairs[i].indexOf('=');
            kept += (i ? "&" : "") + (eq < 0 ? pairs[i] : pairs[i].left(eq + 1));
        }
    }
    QByteArray out;
    out.reserve(kept.size());
    for (const char c : kept) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x21 || u >= 0x7f || c == '\\') {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", u);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

struct HttpFront::Impl {
    // One request on a connection; a connection carries one at a time.
    struct Request {
        QByteArray target;
        QByteArray method;
        Clock::time_point start;
        bool headSeen = false;
        bool dispatched = false;
        bool ready = false;
        unsigned long long bodyBytes = 0;
        ServiceAnswer answer;
        int status = 0;
        unsigned long long bytes = 0;
        std::string remote;
    };
    // One TCP connection, from accept to close.
    struct Connection {
        int fd = -1;
        std::string peer;
        // Where the head now awaited began, and whether it is whole.
        std::atomic<std::int64_t> headStart{0};
        std::atomic<bool> inRequest{false};
        bool cut = false; // under the registry's lock
        Request request;
    };

    RequestHandler& handler;
    ServiceStore& store;
    const ServeOptions& options;
    std::string trustedProxy;
    MHD_Daemon* daemon = nullptr;
    MHD_Daemon* metricsDaemon = nullptr;
    int boundPort = 0;
    int boundMetricsPort = 0;
    std::atomic<bool> stopping{false};
    Metrics metrics;
    std::unique_ptr<Workers> workers;

    std::mutex registryMutex;
    std::unordered_set<Connection*> registry;
    std::thread sweeper;
    std::mutex sweepMutex;
    std::condition_variable sweepWake;
    bool sweepEnd = false;

    Impl(RequestHandler& h, ServiceStore& s, const ServeOptions& o)
        : handler(h)
        , store(s)
        , options(o)
        , trustedProxy(canonicalAddress(o.trustedProxy.toStdString()))
    {
    }

    static Connection* connectionOf(MHD_Connection* c)
    {
        const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
        return info ? static_cast<Connection*>(info->socket_context) : nullptr;
    }

    static void onConnection(void* cls, MHD_Connection* c, void** context, MHD_ConnectionNotificationCode code)
    {
        auto* self = static_cast<Impl*>(cls);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            auto* conn = new Connection;
            const MHD_ConnectionInfo* fd = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CONNECTION_FD);
            conn->fd = fd ? fd->connect_fd : -1;
            const MHD_ConnectionInfo* peer = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
            conn->peer = addressText(peer ? peer->client_addr : nullptr);
            conn->headStart = ticks(Clock::now());
            *context = conn;
            std::lock_guard<std::mutex> lock(self->registryMutex);
            self->registry.insert(conn);
            return;
        }
        auto* conn = static_cast<Connection*>(*context);
        if (conn == nullptr)
            return;
        {
            // Before the socket is closed: the sweep never touches a number
            // that may already belong to a new connection.
            std::lock_guard<std::mutex> lock(self->registryMutex);
            self->registry.erase(conn);
        }
        delete conn;
        *context = nullptr;
    }

    static void* onRequestLine(void*, const char* uri, MHD_Connection* c)
    {
        Connection* conn = connectionOf(c);
        if (conn == nullptr)
            return nullptr;
        conn->request = Request{};
        conn->request.target = QByteArray(uri);
        conn->request.start = Clock::now();
        return &conn->request;
    }

    // The client's address: the connection's, or behind the trusted proxy
    // the last one it added to X-Forwarded-For.
    std::string remoteOf(MHD_Connection* c, const Connection& conn) const
    {
        if (trustedProxy.empty() || conn.peer != trustedProxy)
            return conn.peer;
        std::string last;
        MHD_get_connection_values(
            c, MHD_HEADER_KIND,
            [](void* cls, MHD_ValueKind, const char* key, const char* value) {
                if (value != nullptr && strcasecmp(key, "X-Forwarded-For") == 0)
                    *static_cast<std::string*>(cls) = value;
                return MHD_YES;
            },
            &last);
        const size_t comma = last.rfind(',');
        std::string entry = comma == std::string::npos ? last : last.substr(comma + 1);
        entry.erase(0, entry.find_first_not_of(" \t"));
        entry.erase(entry.find_last_not_of(" \t") + 1);
        const std::string address = canonicalAddress(entry);
        return address.empty() ? conn.peer : address;
    }

    MHD_Result queue(MHD_Connection* c, Request& r, const ServiceAnswer& a, bool close)
    {
        MHD_Response* response = nullptr;
        unsigned long long size = 0;
        if (a.file) {
            // Sent by the kernel from the file opened when the request came,
            // which stays the same file when a publish replaces it.
            const int fd = ::dup(a.file->handle());
            size = static_cast<unsigned long long>(std::max<qint64>(a.file->size(), 0));
            if (fd >= 0)
                response = MHD_create_response_from_fd64(size, fd);
            if (response == nullptr && fd >= 0)
                ::close(fd);
        } else {
            size = static_cast<unsigned long long>(a.body.size());
            response = MHD_create_response_from_buffer(size, const_cast<char*>(a.body.constData()),
                                                       MHD_RESPMEM_MUST_COPY);
        }
        if (response == nullptr)
            return MHD_NO;
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, a.contentType.constData());
        if (close || stopping)
            MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
        r.status = a.status;
        r.bytes = r.method == "HEAD" ? 0 : size;
        const MHD_Result result = MHD_queue_response(c, unsigned(a.status), response);
        MHD_destroy_response(response);
        return result;
    }

    MHD_Result refuse(MHD_Connection* c, Request& r, int status, const char* text)
    {
        return queue(c, r, ServiceAnswer{status, text, "text/html", nullptr, {}}, true);
    }

    // Whether a header line is longer than any the program sends.
    static bool hasLongHeader(MHD_Connection* c)
    {
        bool longLine = false;
        MHD_get_connection_values(
            c, MHD_HEADER_KIND,
            [](void* cls, MHD_ValueKind, const char* key, const char* value) {
                if (std::strlen(key) + (value ? std::strlen(value) : 0) + 2 > kMaxLine) {
                    *static_cast<bool*>(cls) = true;
                    return MHD_NO;
                }
                return MHD_YES;
            },
            &longLine);
        return longLine;
    }

    static MHD_Result onRequest(void* cls, MHD_Connection* c, const char*, const char* method, const char*,
                                const char*, size_t* uploadSize, void** context)
    {
        auto* self = static_cast<Impl*>(cls);
        auto* r = static_cast<Request*>(*context);
        Connection* conn = connectionOf(c);
        if (r == nullptr || conn == nullptr)
            return MHD_NO;
        if (!r->headSeen) {
            r->headSeen = true;
            r->method = method;
            conn->inRequest = true;
            if (size_t(r->target.size()) > kMaxLine)
                return self->refuse(c, *r, 414, "URI Too Long");
            if (hasLongHeader(c))
                return self->refuse(c, *r, 431, "Request Header Fields Too Large");
            // A body announced larger than any request of the program is
            // refused unread.
            const char* length = MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
            if (length != nullptr && (std::strlen(length) > 18 || std::strtoull(length, nullptr, 10) > kMaxBody))
                return self->refuse(c, *r, 413, "Payload Too Large");
            return MHD_YES;
        }
        if (*uploadSize != 0) {
            // A body is read and dropped; none is ever needed.
            r->bodyBytes += *uploadSize;
            *uploadSize = 0;
            if (r->bodyBytes > kMaxBody)
                return self->refuse(c, *r, 413, "Payload Too Large");
            return MHD_YES;
        }
        if (r->ready)
            return self->queue(c, *r, r->answer, false);
        if (r->dispatched)
            return MHD_YES;
        r->dispatched = true;
        r->remote = self->remoteOf(c, *conn);
        ServiceRequest request{r->method, r->target, QString::fromStdString(r->remote)};
        if (answeredWithoutStore(r->target)) {
            r->answer = self->answer(request);
            return self->queue(c, *r, r->answer, false);
        }
        MHD_suspend_connection(c);
        self->workers->push([self, c, r, request] {
            r->answer = self->answer(request);
            r->ready = true;
            MHD_resume_connection(c);
        });
        return MHD_YES;
    }

    ServiceAnswer answer(const ServiceRequest& request)
    {
        QByteArray why = "unknown";
        try {
            return handler.answer(request);
        } catch (const std::exception& e) {
            why = e.what();
        } catch (...) {
        }
        std::fprintf(stderr, "zelmora-service: request failed: %s\n", why.constData());
        return ServiceAnswer{500, "Internal Server Error", "text/html", nullptr, {}};
    }

    static void onCompleted(void* cls, MHD_Connection* c, void** context, MHD_RequestTerminationCode code)
    {
        auto* self = static_cast<Impl*>(cls);
        auto* r = static_cast<Request*>(*context);
        Connection* conn = connectionOf(c);
        if (r == nullptr)
            return;
        const Clock::time_point now = Clock::now();
        if (conn != nullptr) {
            conn->headStart = ticks(now);
            conn->inRequest = false;
        }
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(now - r->start).count();
        if (r->status != 0)
            self->metrics.record(routeOf(r->target), r->status, double(micros) / 1e6);
        self->log(*r, conn, code == MHD_REQUEST_TERMINATED_COMPLETED_OK ? r->bytes : 0, micros);
        // Handed over only once the whole body went out on a GET; a HEAD,
        // a reset or a stop leaves the message queued.
        if (code == MHD_REQUEST_TERMINATED_COMPLETED_OK && r->method == "GET" && r->answer.delivered)
            self->workers->push(std::move(r->answer.delivered));
        r->answer = ServiceAnswer{};
        *context = nullptr;
    }

    // One line a request on standard output, in one write so that lines
    // from different threads never mix.
    void log(const Request& r, const Connection* conn, unsigned long long bytes, long long micros) const
    {
        char when[40];
        const auto wall = std::chrono::system_clock::now();
        const std::time_t seconds = std::chrono::system_clock::to_time_t(wall);
        const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(wall.time_since_epoch()).count() % 1000;
        std::tm tm{};
        gmtime_r(&seconds, &tm);
        const size_t n = std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &tm);
        std::snprintf(when + n, sizeof when - n, ".%03dZ", int(millis));
        const std::string& who = !r.remote.empty() ? r.remote : conn ? conn->peer : std::string("-");
        const QByteArray line = QByteArray(when) + ' ' + QByteArray::fromStdString(who) + ' '
            + loggedTarget(r.method.isEmpty() ? QByteArray("-") : r.method) + ' ' + loggedTarget(r.target) + ' '
            + (r.status ? QByteArray::number(r.status) : QByteArray("-")) + ' ' + QByteArray::number(bytes) + ' '
            + QByteArray::number(micros) + '\n';
        for (qsizetype done = 0; done < line.size();) {
            const ssize_t w = ::write(STDOUT_FILENO, line.constData() + done, size_t(line.size() - done));
            if (w <= 0)
                break;
            done += w;
        }
    }

    // Ends the connections whose head is overdue, or, when stopping, every
    // connection that is not being answered; how many are being answered.
    int sweep(bool all)
    {
        const std::int64_t now = ticks(Clock::now());
        const std::int64_t deadline = std::chrono::duration_cast<Clock::duration>(kHeadDeadline).count();
        int answering = 0;
        std::lock_guard<std::mutex> lock(registryMutex);
        for (Connection* conn : registry) {
            if (conn->inRequest) {
                ++answering;
                continue;
            }
            if (!conn->cut && conn->fd >= 0 && (all || now - conn->headStart > deadline)) {
                // The library sees the end of the stream and closes it.
                ::shutdown(conn->fd, SHUT_RDWR);
                conn->cut = true;
            }
        }
        return answering;
    }

    void sweepLoop()
    {
        std::unique_lock<std::mutex> lock(sweepMutex);
        while (!sweepWake.wait_for(lock, std::chrono::milliseconds(250), [this] { return sweepEnd; }))
            sweep(false);
    }

    static MHD_Result onMetrics(void* cls, MHD_Connection* c, const char* url, const char* method, const char*,
                                const char*, size_t* uploadSize, void**)
    {
        auto* self = static_cast<Impl*>(cls);
        if (*uploadSize != 0) {
            *uploadSize = 0;
            return MHD_YES;
        }
        const bool found = std::strcmp(method, "GET") == 0 && std::strcmp(url, "/metrics") == 0;
        const std::string body = found ? self->metrics.text(self->store) : std::string("Not Found");
        MHD_Response* response = MHD_create_response_from_buffer(body.size(), const_cast<char*>(body.data()),
                                                                 MHD_RESPMEM_MUST_COPY);
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE,
                                found ? "text/plain; version=0.0.4" : "text/html");
        const MHD_Result result = MHD_queue_response(c, found ? 200 : 404, response);
        MHD_destroy_response(response);
        return result;
    }

    static void quiet(void*, const char*, va_list) {}
};

HttpFront::HttpFront(RequestHandler& handler, ServiceStore& store, const ServeOptions& options)
    : d(std::make_unique<Impl>(handler, store, options))
{
}

HttpFront::~HttpFront()
{
    stop();
}

bool HttpFront::start(QString* error)
{
    sockaddr_storage address{};
    if (!socketAddress(d->options.host, d->options.port, &address)) {
        *error = QStringLiteral("no such address: ") + d->options.host;
        return false;
    }
    // Every kept-open connection is a descriptor: take all the system allows.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    const unsigned connectionLimit =
        unsigned(std::clamp<rlim_t>(files.rlim_cur > 128 ? files.rlim_cur - 64 : 64, 64, 1000000));
    d->workers = std::make_unique<Workers>(kWorkers);
    const unsigned flags = MHD_USE_EPOLL_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME
        | (address.ss_family == AF_INET6 ? MHD_USE_IPv6 : 0);
    d->daemon = MHD_start_daemon(
        flags, quint16(d->options.port), nullptr, nullptr, &Impl::onRequest, d.get(), MHD_OPTION_SOCK_ADDR,
        reinterpret_cast<sockaddr*>(&address), MHD_OPTION_THREAD_POOL_SIZE, kEpollThreads,
        MHD_OPTION_CONNECTION_LIMIT, connectionLimit, MHD_OPTION_PER_IP_CONNECTION_LIMIT,
        unsigned(std::max(d->options.connectionsPerAddress, 0)), MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory, MHD_OPTION_LISTEN_BACKLOG_SIZE, kBacklog,
        MHD_OPTION_URI_LOG_CALLBACK, &Impl::onRequestLine, d.get(), MHD_OPTION_NOTIFY_COMPLETED,
        &Impl::onCompleted, d.get(), MHD_OPTION_NOTIFY_CONNECTION, &Impl::onConnection, d.get(),
        MHD_OPTION_EXTERNAL_LOGGER, &Impl::quiet, nullptr, MHD_OPTION_END);
    if (d->daemon == nullptr) {
        *error = QStringLiteral("cannot listen on %1:%2").arg(d->options.host).arg(d->options.port);
        d->workers.reset();
        return false;
    }
    d->boundPort = MHD_get_daemon_info(d->daemon, MHD_DAEMON_INFO_BIND_PORT)->port;
    d->sweeper = std::thread([this] { d->sweepLoop(); });
    if (d->options.metricsPort >= 0) {
        sockaddr_storage metricsAddress{};
        if (socketAddress(d->options.metricsHost, d->options.metricsPort, &metricsAddress))
            d->metricsDaemon = MHD_start_daemon(
                MHD_USE_INTERNAL_POLLING_THREAD | (metricsAddress.ss_family == AF_INET6 ? MHD_USE_IPv6 : 0),
                quint16(d->options.metricsPort), nullptr, nullptr, &Impl::onMetrics, d.get(), MHD_OPTION_SOCK_ADDR,
                reinterpret_cast<sockaddr*>(&metricsAddress), MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds,
                MHD_OPTION_CONNECTION_LIMIT, 16u, MHD_OPTION_EXTERNAL_LOGGER, &Impl::quiet, nullptr,
                MHD_OPTION_END);
        if (d->metricsDaemon == nullptr) {
            *error = QStringLiteral("cannot listen on %1:%2").arg(d->options.metricsHost).arg(d->options.metricsPort);
            stop();
            return false;
        }
        d->boundMetricsPort = MHD_get_daemon_info(d->metricsDaemon, MHD_DAEMON_INFO_BIND_PORT)->port;
    }
    return true;
}

int HttpFront::port() const
{
    return d->boundPort;
}

int HttpFront::metricsPort() const
{
    return d->boundMetricsPort;
}

void HttpFront::stop()
{
    if (d->daemon == nullptr)
        return;
    const Clock::time_point deadline = Clock::now() + kStopGrace;
    d->stopping = true;
    const MHD_socket listener = MHD_quiesce_daemon(d->daemon);
    if (listener != MHD_INVALID_SOCKET)
        ::close(listener);
    if (d->metricsDaemon != nullptr) {
        MHD_stop_daemon(d->metricsDaemon);
        d->metricsDaemon = nullptr;
    }
    // Connections waiting for a head (trickling, or kept alive between
    // requests) go at once; the answers under way are let finish.
    while (d->sweep(true) > 0 || !d->workers->idle()) {
        if (Clock::now() > deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    {
        std::lock_guard<std::mutex> lock(d->sweepMutex);
        d->sweepEnd = true;
    }
    d->sweepWake.notify_all();
    d->sweeper.join();
    if (!d->workers->idle()) {
        // A request still waits for the storage: the library must not be
        // stopped under it, and the unit's stop time is near.
        std::fprintf(stderr, "zelmora-service: stopped while a request waited for the storage\n");
        std::fflush(stderr);
        std::_Exit(kExitFailure);
    }
    d->workers->join();
    MHD_stop_daemon(d->daemon);
    d->daemon = nullptr;
}

} // namespace zel::service
