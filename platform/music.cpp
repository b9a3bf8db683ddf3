#include "platform/music.h"

#include "platform/media.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>

namespace zol {

bool Music::play(const QString&) { return false; }

void Music::pause(const QString&) {}

void Music::closeMidi(const QString&) {}

namespace {
Music*& current()
{
    static Music* m = nullptr;
    return m;
}
} // namespace

Music& music()
{
    static Music silent;
    return current() ? *current() : silent;
}

void setMusic(Music* player) { current() = player; }

QStringList midiFilesIn(const QString& folder)
{
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QStringList list;
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Unsorted);
    for (const QString& name : names) {
        const QString end = name.right(3);
        if (end == QLatin1String("MID") || end == QLatin1String("mid")
            || end == QLatin1String("RMI") || end == QLatin1String("rmi")) {
            list << prefix + name;
            if (list.size() == kMaxMidiFiles)
                break;
        }
    }
    return list;
}

QByteArray midiData(const QByteArray& bytes)
{
    if (bytes.startsWith("MThd"))
        return bytes;
    if (!bytes.startsWith("RIFF") || bytes.mid(8, 4) != "RMID")
        return QByteArray();
    // The chunks of the RIFF form, each an id, a little-endian size and the
    // data padded to an even length.
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        if (bytes.mid(at, 4) == "data") {
            const QByteArray smf = bytes.mid(at + 8, qsizetype(size));
            return smf.startsWith("MThd") ? smf : QByteArray();
        }
        at += 8 + qsizetype(size) + (size & 1);
    }
    return QByteArray();
}

// The synthesizer's thread: it loads the synthesizer with its first command
// and carries out the commands in the order they were sent.
struct BackgroundMusic::Worker {
    enum Kind { Play, Pause, Close, Settle, Quit };
    struct Command {
        Kind kind;
        QString file;
        QByteArray smf;
        std::promise<bool>* done = nullptr;
    };

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Command> queue;
    std::thread thread;
    bool released = false;
    bool waitForLoadNow = false;
    QObject timerContext;

    // The thread starts with the first piece played: before it nothing
    // sounds, so nothing needs pausing or closing.
    void send(Command c)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (!thread.joinable()) {
                if (c.kind != Play) {
                    if (c.done)
                        c.done->set_value(false);
                    return;
                }
                thread = std::thread([this] { run(); });
                scheduleRelease();
            }
            queue.push_back(std::move(c));
        }
        wake.notify_one();
    }

    // The synthesizer's libraries are loaded once the program's event loop
    // runs, or when loadNow() says so: loaded at once they held the
    // start-up windows back by a few milliseconds, the time the library
    // loader is busy with them, and even from the event loop the first
    // paint of the splash window could wait for them.
    void scheduleRelease()
    {
        if (waitForLoadNow)
            return;
        QCoreApplication* app = QCoreApplication::instance();
        if (app && QThread::currentThread() == app->thread())
            QTimer::singleShot(0, &timerContext, [this] { release(); });
        else
            released = true;
    }

    void release()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            released = true;
        }
        wake.notify_one();
    }

    void run()
    {
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return released; });
        }
        std::unique_ptr<MidiSynth> synth = media().newSynth();
        for (;;) {
            Command c;
            {
                std::unique_lock<std::mutex> lock(mutex);
                // While a piece sounds its end is looked for now and then:
                // the synthesizer renders silence after the end until it is
                // closed.
                while (queue.empty()) {
                    if (synth && !synth->current().isEmpty()) {
                        if (wake.wait_for(lock, std::chrono::seconds(1),
                                          [this] { return !queue.empty(); }))
                            break;
                        if (!synth->sounding()) {
                            lock.unlock();
                            synth->close(synth->current());
                            lock.lock();
                        }
                    } else {
                        wake.wait(lock, [this] { return !queue.empty(); });
                    }
                }
                c = std::move(queue.front());
                queue.pop_front();
            }
            switch (c.kind) {
            case Play:
                if (synth)
                    synth->start(c.file, c.smf);
                break;
            case Pause:
                if (synth)
                    synth->pause(c.file);
                break;
            case Close:
                if (synth)
                    synth->close(c.file);
                break;
            case Settle:
                c.done->set_value(synth && synth->sounding());
                break;
            case Quit:
                return;
            }
        }
    }

    ~Worker()
    {
        if (thread.joinable()) {
            release();
            send({Quit, {}, {}});
            thread.join();
        }
    }
};

BackgroundMusic::BackgroundMusic(Loading loading) : worker_(std::make_unique<Worker>())
{
    worker_->waitForLoadNow = loading == LoadWhenAsked;
}

BackgroundMusic::~BackgroundMusic() = default;

bool BackgroundMusic::play(const QString& file)
{
    // MIDI files are small: reading one here costs less than a window redraw
    // and tells at once whether the command can succeed.
    QFile f(file);
    if (file.isEmpty() || !f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray smf = midiData(f.readAll());
    if (smf.isEmpty())
        return false;
    worker_->send({Worker::Play, file, smf});
    return true;
}

void BackgroundMusic::pause(const QString& file) { worker_->send({Worker::Pause, file, {}}); }

void BackgroundMusic::closeMidi(const QString& file)
{
    worker_->send({Worker::Close, file, {}});
}

void BackgroundMusic::loadNow() { worker_->release(); }

bool BackgroundMusic::settle()
{
    std::promise<bool> done;
    std::future<bool> answer = done.get_future();
    worker_->release();
    worker_->send({Worker::Settle, {}, {}, &done});
    return answer.get();
}

} // namespace zol
