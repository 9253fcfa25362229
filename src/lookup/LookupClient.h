#pragma once
// Asks the sources for one identifier after another, asynchronously: the
// sources of an ISBN in their order until one knows it, the DOI source for
// a DOI. Each request has a time limit and a size limit; a source that fails
// is noted with its reason and the next one asked. At most one request per
// source per interval. Cancelling stops every request at once.

#include "lookup/Identifier.h"
#include "lookup/LookupSources.h"
#include "lookup/MarcReader.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QNetworkReply;

namespace folianto {

struct LookupOutcome {
    enum class State { Found, NotFound, Failed };
    State state = State::NotFound;
    std::vector<Reference> Editions; // Found: what the source returned, first edition first
    std::string Source;              // Found: the source's name
    std::vector<std::string> Failures; // "dnb: HTTP 500", Windows-1252
    std::string FailureText() const;   // the failures joined by "; "
};

// The record the program sends as its User-Agent.
QByteArray LookupUserAgent();

// Why a source that never answered failed: "keine Antwort in 15 s" (at least 1 s).
std::string NoAnswerReason(int timeoutMs);

class LookupClient : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const LookupOutcome&)>;

    explicit LookupClient(LookupSources sources, QObject* parent = nullptr);
    ~LookupClient() override;

    void setTimeoutMs(int ms) { timeoutMs_ = ms; }
    void setMinIntervalMs(int ms) { minIntervalMs_ = ms; }
    void setMaxBytes(qint64 bytes) { maxBytes_ = bytes; }

    // Queues the identifier; `done` runs later, once, unless cancelled.
    void lookUp(const LookupId& id, Done done);
    // Aborts the running request and forgets the queued ones.
    void cancel();
    bool busy() const { return job_ != nullptr || !queue_.empty(); }
    // Requests sent so far, per source name (in the order they were sent).
    const std::vector<std::pair<std::string, qint64>>& requestLog() const { return log_; }

private:
    struct Job {
        LookupId id;
        std::vector<LookupSource> sources;
        std::size_t next = 0;
        bool notFound = false; // a source answered that it does not know the identifier
        LookupOutcome outcome;
        Done done;
    };

    void startNext();
    void askSource();
    void send(const LookupSource& source, const std::string& url);
    void replyFinished();
    void sourceAnswered(const SourceAnswer& answer);
    void finishJob();

    QNetworkAccessManager net_;
    LookupSources sources_;
    std::deque<std::unique_ptr<Job>> queue_;
    std::unique_ptr<Job> job_;
    QPointer<QNetworkReply> reply_;
    QByteArray body_;
    bool tooLarge_ = false;
    bool timedOut_ = false;
    QTimer limit_;
    QTimer wait_;
    QElapsedTimer clock_;
    std::map<std::string, qint64> lastSent_;
    std::vector<std::pair<std::string, qint64>> log_;
    int timeoutMs_ = 15000;
    int minIntervalMs_ = 1000;
    qint64 maxBytes_ = 8 * 1024 * 1024;
};

} // namespace folianto
