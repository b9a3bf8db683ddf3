// The MIDI list and files, the MPEG frame scan, the MP3 panel's texts, the
// channel playlists, the help and notes paths, and real MIDI through
// FluidSynth without a sound device.
#include "testsupport.h"

#include "platform/links.h"
#include "platform/media.h"
#include "platform/media/fluidmidi.h"
#include "platform/media/playlist.h"
#include "platform/mp3play.h"
#include "platform/mpegframes.h"
#include "platform/music.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace zol;

namespace {

QByteArray frames(const char* header, int length, int count)
{
    QByteArray frame(length, '\0');
    for (int i = 0; i < 4; ++i)
        frame[i] = header[i];
    return frame.repeated(count);
}

// An ID3v2 tag with body bytes of content and, when flagged, a footer.
QByteArray id3(int body, bool footer)
{
    QByteArray tag("ID3\x04\x00", 5);
    tag += char(footer ? 0x10 : 0);
    for (int shift : {21, 14, 7, 0})
        tag += char((body >> shift) & 0x7F);
    return tag + QByteArray(body + (footer ? 10 : 0), '\x01');
}

QByteArray riffChunk(const QByteArray& id, const QByteArray& data)
{
    QByteArray size(4, '\0');
    qToLittleEndian<quint32>(quint32(data.size()), size.data());
    return id + size + data + (data.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

QByteArray riff(const QByteArray& form, const QByteArray& chunks)
{
    QByteArray size(4, '\0');
    qToLittleEndian<quint32>(quint32(chunks.size() + 4), size.data());
    return "RIFF" + size + form + chunks;
}

// A synthesizer maker that gives the real FluidSynth with its file driver.
class HeadlessSynth : public Media {
public:
    std::unique_ptr<MidiSynth> newSynth() override
    {
        return std::make_unique<FluidMidi>(QStringLiteral("file"));
    }
};

// A piece of one note, a second long.
QByteArray shortPiece()
{
    const QByteArray track = QByteArray::fromHex("00903c40" "8740803c40" "00ff2f00");
    QByteArray smf = QByteArray::fromHex("4d546864000000060000000101e0") + "MTrk";
    smf += QByteArray(4, '\0');
    qToBigEndian<quint32>(quint32(track.size()), smf.data() + smf.size() - 4);
    return smf + track;
}

// FluidSynth's rendering threads (its audio driver's) in this process.
int renderingThreads()
{
    int count = 0;
    const QStringList tasks = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& task : tasks) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "timer")
            ++count;
    }
    return count;
}

} // namespace

class MediaFilesTest : public QObject {
    Q_OBJECT
private slots:
    // Names ending in MID, mid, RMI or rmi are listed (no dot needed, case as
    // written); folders and hidden files are not.
    void midiList_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("listed");
        QTest::newRow("mid") << "a.mid" << true;
        QTest::newRow("MID") << "B.MID" << true;
        QTest::newRow("rmi") << "c.rmi" << true;
        QTest::newRow("RMI") << "d.RMI" << true;
        QTest::newRow("no dot") << "pyramid" << true;
        QTest::newRow("mixed case") << "e.Mid" << false;
        QTest::newRow("longer ending") << "f.midi" << false;
        QTest::newRow("hidden") << ".g.mid" << false;
        QTest::newRow("folder") << "h.mid/" << false;
    }
    void midiList()
    {
        QFETCH(QString, name);
        QFETCH(bool, listed);
        QTemporaryDir dir;
        if (name.endsWith(QLatin1Char('/')))
            QVERIFY(QDir(dir.path()).mkdir(name));
        else
            QVERIFY(zoltest::writeFile(dir.filePath(name), "MThd"));
        QVERIFY(zoltest::writeFile(dir.filePath(QStringLiteral("notes.txt")), "x"));
        const QStringList expected = listed ? QStringList{dir.path() + QLatin1Char('/') + name} : QStringList();
        QCOMPARE(midiFilesIn(dir.path()), expected);
        QCOMPARE(midiFilesIn(dir.path() + QLatin1Char('/')), expected);  // no doubled "/"
    }

    void midiListStopsAt200()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 205; ++i)
            QVERIFY(zoltest::writeFile(dir.filePath(QStringLiteral("%1.mid").arg(i)), "MThd"));
        const QStringList list = midiFilesIn(dir.path());
        QCOMPARE(list.size(), kMaxMidiFiles);
        QCOMPARE(QSet<QString>(list.begin(), list.end()).size(), kMaxMidiFiles);
    }

    // A RIFF "RMID" file holds the MIDI file in its "data" chunk.
    void midiData_data()
    {
        const QByteArray smf = QByteArray("MThd\0\0\0\x06\0\0\0\x01\x01\xE0", 14);
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("MIDI file") << smf << smf;
        QTest::newRow("RMID") << riff("RMID", riffChunk("data", smf)) << smf;
        QTest::newRow("RMID, odd chunk before")
            << riff("RMID", riffChunk("LIST", "abc") + riffChunk("data", smf)) << smf;
        QTest::newRow("RIFF of another form") << riff("WAVE", riffChunk("data", smf)) << QByteArray();
        QTest::newRow("RMID without MIDI") << riff("RMID", riffChunk("data", "junk")) << QByteArray();
        QTest::newRow("RMID cut short") << riff("RMID", riffChunk("data", smf)).left(20) << QByteArray();
        QTest::newRow("text") << QByteArray("hello") << QByteArray();
    }
    void midiData()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        QCOMPARE(zol::midiData(bytes), expected);
    }

    void mpegFrames_data()
    {
        const char* mpeg1 = "\xFF\xFB\x90\x00";     // layer III, 128 kbit/s, 44.1 kHz: 417 bytes
        const char* padded = "\xFF\xFB\x92\x00";    // the same with a padding byte: 418
        const char* mpeg2 = "\xFF\xF3\x80\x00";     // MPEG-2 layer III, 64 kbit/s, 22.05 kHz: 208
        const char* layer2 = "\xFF\xFD\x94\x00";    // MPEG-1 layer II, 160 kbit/s, 48 kHz: 480
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<float>("ms");
        QTest::newRow("frames") << frames(mpeg1, 417, 5) << qint64(5) << 26.122449f;
        QTest::newRow("one frame") << frames(mpeg1, 417, 1) << qint64(1) << 26.122449f;
        QTest::newRow("padded frames") << frames(padded, 418, 4) + frames(mpeg1, 417, 2) << qint64(6) << 26.122449f;
        QTest::newRow("after an ID3v2 tag") << id3(300, false) + frames(mpeg1, 417, 5) << qint64(5) << 26.122449f;
        QTest::newRow("tag with footer") << id3(64, true) + frames(mpeg1, 417, 3) << qint64(3) << 26.122449f;
        QTest::newRow("ID3v1 tag at the end") << frames(mpeg1, 417, 5) + "TAG" + QByteArray(125, ' ') << qint64(5) << 26.122449f;
        QTest::newRow("a cut last frame") << frames(mpeg1, 417, 5).chopped(100) << qint64(4) << 26.122449f;
        QTest::newRow("MPEG-2") << frames(mpeg2, 208, 7) << qint64(7) << 26.122449f;
        QTest::newRow("layer II") << frames(layer2, 480, 2) << qint64(2) << 24.0f;
        QTest::newRow("junk before the frames") << QByteArray(50, '\x07') + frames(mpeg1, 417, 3) << qint64(3) << 26.122449f;
        QTest::newRow("text") << QByteArray("not a sound file at all").repeated(40) << qint64(0) << 0.0f;
        QTest::newRow("a stray header") << QByteArray("\xFF\xFB\x90\x00", 4) + QByteArray(600, 'x') << qint64(0) << 0.0f;
        QTest::newRow("an empty tag") << id3(20, false) << qint64(0) << 0.0f;
        QTest::newRow("nothing") << QByteArray() << qint64(0) << 0.0f;
    }
    void mpegFrames()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, count);
        QFETCH(float, ms);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.mp3"));
        QVERIFY(zoltest::writeFile(path, bytes));
        bool readable = false;
        const MpegAudioInfo info = scanMpegAudioFile(path, &readable);
        QVERIFY(readable);
        QCOMPARE(info.frames, count);
        QCOMPARE(info.msPerFrame, ms);
    }

    void mp3Texts_data()
    {
        QTest::addColumn<float>("msPerFrame");
        QTest::addColumn<qint64>("frame");
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<QString>("framesText");
        QTest::addColumn<QString>("seconds");
        QTest::newRow("start") << 26.122449f << qint64(0) << qint64(4518) << "0 of 4518" << "0 sec";
        QTest::newRow("1999.4 ms") << 1999.4f << qint64(1) << qint64(2) << "1 of 2" << "1 sec";
        QTest::newRow("1999.6 ms") << 1999.6f << qint64(1) << qint64(2) << "1 of 2" << "2 sec";
        QTest::newRow("2500.5 ms: even") << 2500.5f << qint64(1) << qint64(2) << "1 of 2" << "2 sec";
        QTest::newRow("long file") << 26.122449f << qint64(3000000000) << qint64(3000000001)
                                   << "3000000000 of 3000000001" << "78367349 sec";
    }
    void mp3Texts()
    {
        QFETCH(float, msPerFrame);
        QFETCH(qint64, frame);
        QFETCH(qint64, frames);
        QFETCH(QString, framesText);
        QFETCH(QString, seconds);
        QCOMPARE(mp3FramesText(frame, frames), framesText);
        QCOMPARE(mp3SecondsText(msPerFrame, frame), seconds);
    }

    void asxPlaylists_data()
    {
        QTest::addColumn<QByteArray>("playlist");
        QTest::addColumn<QString>("stream");
        QTest::newRow("plain") << QByteArray("<asx version=\"3.0\"><entry><ref href=\"mms://tv.example.net/a\"/></entry>"
                                             "<entry><ref href=\"mms://tv.example.net/b\"/></entry></asx>")
                               << "mms://tv.example.net/a";
        QTest::newRow("upper case, single quotes")
            << QByteArray("<ASX><ENTRY><REF HREF = 'http://tv.example.net/x?a=1&amp;b=2' /></ENTRY></ASX>")
            << "http://tv.example.net/x?a=1&b=2";
        QTest::newRow("entry references are no stream")
            << QByteArray("<asx><entryref href=\"http://tv.example.net/more.asx\"/><entry><ref href=\"mms://s\"/></entry></asx>")
            << "mms://s";
        QTest::newRow("no stream") << QByteArray("<html>404</html>") << "";
    }
    void asxPlaylists()
    {
        QFETCH(QByteArray, playlist);
        QFETCH(QString, stream);
        QCOMPARE(asxFirstStream(playlist), stream);
    }

    // The help file keeps one "/" before its name; the banner and the notes
    // file always add one.
    void programFolderFiles_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("help");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("banner");
        QTest::newRow("folder") << "/opt/zol" << "/opt/zol/morvu.html" << "/opt/zol/zolupdate.txt" << "/opt/zol/gg.swf";
        QTest::newRow("root") << "/" << "/morvu.html" << "//zolupdate.txt" << "//gg.swf";
    }
    void programFolderFiles()
    {
        QFETCH(QString, folder);
        QFETCH(QString, help);
        QFETCH(QString, notes);
        QFETCH(QString, banner);
        QCOMPARE(helpFilePath(folder), help);
        QCOMPARE(notesFilePath(folder), notes);
        QCOMPARE(bannerMoviePath(folder), banner);
    }

    // A real piece plays through FluidSynth with its file driver, from the
    // background music's own thread; pause and close reach it.
    void midiThroughFluidSynth()
    {
        HeadlessSynth maker;
        setMedia(&maker);
        const QString piece = QStringLiteral(ZOL_SHIPPED_DATA "/qingchen.mid");
        {
            BackgroundMusic player;
            QVERIFY(!player.play(QStringLiteral(ZOL_SHIPPED_DATA "/zolitems.txt")));  // not MIDI
            QVERIFY(player.play(piece));
            QVERIFY(player.settle());
            QTest::qWait(200);
            QVERIFY(player.settle());
            player.pause(QStringLiteral("/elsewhere/other.mid"));  // not the piece that plays
            QVERIFY(player.settle());
            player.pause(piece);
            QVERIFY(!player.settle());
            player.play(piece);
            player.closeMidi(piece);
            QVERIFY(!player.settle());
            QVERIFY(player.play(piece));  // left playing: going away closes it
        }
        setMedia(nullptr);

        FluidMidi synth(QStringLiteral("file"));
        QVERIFY(synth.ok());
        QCOMPARE(synth.driver(), QStringLiteral("file"));
        QFile f(piece);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(synth.start(piece, f.readAll()));
        QTest::qWait(100);
        QVERIFY(synth.sounding());
        QCOMPARE(synth.current(), piece);
        synth.close(piece);
        QCOMPARE(synth.current(), QString());
        QVERIFY(!synth.sounding());
        QCOMPARE(synth.errors(), QStringList());
    }

    // Once nothing sounds, nothing of the synthesizer runs any more.
    void synthesizerRestsWhenSilent_data()
    {
        QTest::addColumn<QString>("then");
        QTest::newRow("paused") << "pause";
        QTest::newRow("closed") << "close";
        QTest::newRow("ended") << "";
    }

    void synthesizerRestsWhenSilent()
    {
        QFETCH(QString, then);
        HeadlessSynth maker;
        setMedia(&maker);
        QTemporaryDir dir;
        const QString piece = dir.filePath(QStringLiteral("short.mid"));
        QVERIFY(zoltest::writeFile(piece, shortPiece()));
        {
            BackgroundMusic player;
            QVERIFY(player.play(piece));
            QVERIFY(player.settle());
            QTRY_COMPARE(renderingThreads(), 1);  // the thread names itself
            if (then == QLatin1String("pause"))
                player.pause(piece);
            else if (then == QLatin1String("close"))
                player.closeMidi(piece);
            QTRY_COMPARE_WITH_TIMEOUT(renderingThreads(), 0, 8000);
        }
        setMedia(nullptr);
    }
};

ZOL_TEST(MediaFilesTest)
#include "tst_media.moc"
