#include "lookup/LookupClient.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "lookup/OpenLibraryReader.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace folianto {

std::string LookupOutcome::FailureText() const
{
    std::string text;
    for (const std::string& f : Failures)
        text += (text.empty() ? "" : "; ") + f;
    return text;
}

QByteArray LookupUserAgent()
{
    return QByteArrayLiteral("Folianto/" FOLIANTO_VERSION " (Literaturverwaltung; Nachschlagen nach ISBN/DOI)");
}

std::string NoAnswerReason(int timeoutMs)
{
    return "keine Antwort in " + IntToStr(timeoutMs / 1000 > 0 ? timeoutMs / 1000 : 1) + " s";
}

LookupClient::LookupClient(LookupSources sources, QObject* parent) : QObject(parent), sources_(std::move(sources))
{
    clock_.start();
    limit_.setSingleShot(true);
    wait_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this, [this] {
        timedOut_ = true;
        if (reply_)
            reply_->abort();
    });
    connect(&wait_, &QTimer::timeout, this, &LookupClient::askSource);
}

LookupClient::~LookupClient()
{
    cancel();
}

void LookupClient::lookUp(const LookupId& id, Done done)
{
    auto job = std::make_unique<Job>();
    job->id = id;
    job->done = std::move(done);
    if (id.kind == LookupId::Kind::Doi) {
        if (sources_.ForDoi)
            job->sources.push_back(*sources_.ForDoi);
        else
            job->outcome.Failures.push_back("keine Quelle \"doi\" in [Nachschlagen]");
    } else {
        job->sources = sources_.ForIsbn;
        if (job->sources.empty())
            job->outcome.Failures.push_back("keine Quelle in [Nachschlagen]");
    }
    queue_.push_back(std::move(job));
    if (!job_)
        QTimer::singleShot(0, this, &LookupClient::startNext);
}

void LookupClient::cancel()
{
    queue_.clear();
    job_.reset();
    wait_.stop();
    limit_.stop();
    if (reply_) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void LookupClient::startNext()
{
    if (job_ || queue_.empty())
        return;
    job_ = std::move(queue_.front());
    queue_.pop_front();
    askSource();
}

void LookupClient::askSource()
{
    if (!job_)
        return;
    while (job_->next < job_->sources.size()) {
        const LookupSource& source = job_->sources[job_->next];
        const std::string url = SourceUrl(source, job_->id);
        if (url.empty()) {
            ++job_->next; // the template needs an ISBN-10 this ISBN lacks
            continue;
        }
        const auto last = lastSent_.find(source.Name);
        const qint64 now = clock_.elapsed();
        if (last != lastSent_.end() && now - last->second < minIntervalMs_) {
            wait_.start(static_cast<int>(minIntervalMs_ - (now - last->second)));
            return;
        }
        send(source, url);
        return;
    }
    finishJob();
}

void LookupClient::send(const LookupSource& source, const std::string& url)
{
    TraceScope trace("LookupClient.send", url);
    const qint64 now = clock_.elapsed(); // one reading: the log shows the time the rate is kept from
    lastSent_[source.Name] = now;
    log_.emplace_back(source.Name, now);
    QNetworkRequest request(QUrl::fromEncoded(QByteArray::fromStdString(Cp1252ToUtf8(url))));
    request.setHeader(QNetworkRequest::UserAgentHeader, LookupUserAgent());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    switch (source.Format) {
    case SourceFormat::MarcXml:
        request.setRawHeader("Accept", "application/xml, text/xml");
        break;
    case SourceFormat::OpenLibrary:
        request.setRawHeader("Accept", "application/json");
        break;
    case SourceFormat::CslJson:
        request.setRawHeader("Accept", "application/vnd.citationstyles.csl+json");
        break;
    }
    body_.clear();
    tooLarge_ = false;
    timedOut_ = false;
    reply_ = net_.get(request);
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = reply_ ? reply_->header(QNetworkRequest::ContentLengthHeader) : QVariant();
        if (length.isValid() && length.toLongLong() > maxBytes_) {
            tooLarge_ = true;
            reply_->abort();
        }
    });
    connect(reply_, &QNetworkReply::readyRead, this, [this] {
        if (!reply_ || tooLarge_)
            return;
        body_ += reply_->read(maxBytes_ + 1 - body_.size());
        if (body_.size() > maxBytes_) {
            tooLarge_ = true;
            reply_->abort();
        }
    });
    connect(reply_, &QNetworkReply::finished, this, &LookupClient::replyFinished);
    limit_.start(timeoutMs_);
}

void LookupClient::replyFinished()
{
    limit_.stop();
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    if (!reply || !job_)
        return;
    reply->deleteLater();
    if (!tooLarge_ && reply->error() == QNetworkReply::NoError)
        body_ += reply->read(maxBytes_ + 1 - body_.size());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const SourceFormat format = job_->sources[job_->next].Format;
    SourceAnswer answer;
    if (tooLarge_ || body_.size() > maxBytes_) {
        answer.Reason = Cp1252("Antwort zu groß");
    } else if (timedOut_) {
        answer.Reason = NoAnswerReason(timeoutMs_);
    } else if (format == SourceFormat::CslJson && status == 404) {
        answer.kind = SourceAnswer::Kind::NotFound; // the resolver knows no such DOI
    } else if (status >= 400) {
        answer.Reason = "HTTP " + IntToStr(status);
    } else if (reply->error() != QNetworkReply::NoError) {
        answer.Reason = ToCp1252(reply->errorString());
    } else {
        const std::string bytes(body_.constData(), static_cast<std::size_t>(body_.size()));
        switch (format) {
        case SourceFormat::MarcXml:
            answer = ReadSruMarcAnswer(bytes);
            break;
        case SourceFormat::OpenLibrary:
            answer = ReadOpenLibraryAnswer(bytes);
            break;
        case SourceFormat::CslJson:
            answer = ReadCslJsonAnswer(bytes);
            break;
        }
    }
    body_.clear();
    sourceAnswered(answer);
}

void LookupClient::sourceAnswered(const SourceAnswer& answer)
{
    const LookupSource& source = job_->sources[job_->next];
    if (answer.kind == SourceAnswer::Kind::Found) {
        job_->outcome.state = LookupOutcome::State::Found;
        job_->outcome.Editions = answer.Editions;
        job_->outcome.Source = source.Name;
        for (Reference& r : job_->outcome.Editions)
            if (r.Isbn.empty() && job_->id.kind == LookupId::Kind::Isbn)
                r.Isbn = job_->id.Text;
        finishJob();
        return;
    }
    if (answer.kind == SourceAnswer::Kind::Failed)
        job_->outcome.Failures.push_back(source.Name + ": " + answer.Reason);
    else
        job_->notFound = true;
    ++job_->next;
    askSource();
}

void LookupClient::finishJob()
{
    std::unique_ptr<Job> job = std::move(job_);
    // Not found when a source said so; failed when every source failed or
    // none could be asked.
    if (job->outcome.state != LookupOutcome::State::Found)
        job->outcome.state = job->notFound ? LookupOutcome::State::NotFound : LookupOutcome::State::Failed;
    if (job->done)
        job->done(job->outcome);
    if (!job_ && !queue_.empty())
        QTimer::singleShot(0, this, &LookupClient::startNext);
}

} // namespace folianto
