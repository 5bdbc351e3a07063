// The simulator on a pty, a headless decoder reading it with --port: what the decoder prints must be
// the frames the simulator logged as sent, in order, read as the meter shows them.

#include "link/serial_port_driver.h"
#include "tests/support/simulator.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

using kx::test::Simulator;

std::string text(const QJsonObject &object, const char *key)
{
    return object[key].toString().toStdString();
}

std::vector<QJsonObject> jsonLines(const QByteArray &text)
{
    std::vector<QJsonObject> lines;
    for (const QByteArray &line : text.split('\n'))
        if (!line.isEmpty())
            lines.push_back(QJsonDocument::fromJson(line).object());
    return lines;
}

struct DecodeRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

DecodeRun decode(const char *program, const QStringList &arguments)
{
    QProcess decoder;
    decoder.start(program, arguments);
    DecodeRun run;
    if (!decoder.waitForFinished(60'000))
        decoder.kill();
    run.exitCode = decoder.exitStatus() == QProcess::NormalExit ? decoder.exitCode() : -1;
    run.out = decoder.readAllStandardOutput();
    run.err = decoder.readAllStandardError();
    return run;
}

QString tempPath(const char *name)
{
    return QString::fromStdString(
        (std::filesystem::temp_directory_path() / ("kx52b-" + std::to_string(getpid()) + "-" + name)).string());
}

TEST(LiveDecode, DecodedReadingsEqualTheFramesTheSimulatorSent)
{
    const struct {
        const char *decoder;
        QStringList decoderArguments;
        QStringList simArguments;
        int frames;
        const char *framesFile; // frames to send instead of the sweep; nullptr for the sweep
    } cases[] = {
        {KX52B_DECODE_40K, {}, {"--family", "five-digit", "--fast"}, 200, nullptr},
        // At the meter's line rate a frame spans several polls.
        {KX52B_DECODE_40K, {}, {"--family", "five-digit", "--baud", "2400", "--interval", "0"}, 15, nullptr},
        {KX52B_DECODE_4K, {}, {"--family", "segment", "--baud", "19200", "--interval", "0"}, 90, nullptr},
        {KX52B_DECODE_4K, {"--flags", "IFKX52B"}, {"--family", "line", "--fast"}, 120, nullptr},
        {KX52B_DECODE_40K, {}, {"--family", "five-digit", "--fast"}, 9,
         "# a comment, then frames as a receiver keeps them\n123452101DA\nA00003105\n\n012341400DA\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.simArguments.join(' ').toStdString());
        const QString logPath = tempPath("sim.log");
        const QString framesPath = tempPath("frames.txt");
        QStringList simArguments = c.simArguments;
        if (c.framesFile) {
            QFile file(framesPath);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.framesFile);
            simArguments << "--frames-file" << framesPath;
        }
        DecodeRun run;
        {
            Simulator sim(KX52B_SIM, simArguments, logPath);
            ASSERT_FALSE(sim.port().isEmpty());
            run = decode(c.decoder, c.decoderArguments + QStringList{"--port", sim.port(), "--frames",
                                                                     QString::number(c.frames), "--seconds", "30"});
            QThread::msleep(200); // the simulator logs a frame right after writing it
        }
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile::remove(framesPath);
        QFile logFile(logPath);
        ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
        const std::vector<QJsonObject> sent = jsonLines(logFile.readAll());
        logFile.remove();
        const std::vector<QJsonObject> decoded = jsonLines(run.out);
        ASSERT_EQ(decoded.size(), static_cast<std::size_t>(c.frames));

        // Opening the port discards what waited, so decoding starts some frames into the log; from
        // there on nothing may be lost, added or changed.
        std::size_t first = 0;
        while (first < sent.size() && sent[first]["LastFrame"] != decoded[0]["frame"])
            ++first;
        ASSERT_LE(first + decoded.size(), sent.size()) << "the decoded frames are not a run of those sent";
        for (std::size_t i = 0; i < decoded.size(); ++i) {
            const QJsonObject &s = sent[first + i];
            const QJsonObject &d = decoded[i];
            SCOPED_TRACE(text(s, "LastFrame"));
            EXPECT_EQ(text(d, "frame"), text(s, "LastFrame"));
            if (!c.framesFile) {
                ASSERT_FALSE(text(s, "DisplayText").empty()); // the sweep says what the meter shows
                EXPECT_EQ(text(d, "DisplayText"), text(s, "DisplayText"));
                EXPECT_EQ(text(d, "UnitText"), text(s, "UnitText"));
            }
            EXPECT_TRUE(d["error"].isNull()) << text(d, "error");
        }
    }
}

TEST(LiveDecode, APortThatCannotBeOpenedIsOneLineAndAFailure)
{
    const DecodeRun missing = decode(KX52B_DECODE_40K, {"--port", "/dev/kx52b-no-such-port", "--frames", "1"});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_EQ(missing.err.count('\n'), 1);
    EXPECT_TRUE(missing.err.contains("cannot open /dev/kx52b-no-such-port: No such file or directory"));

    const QString logPath = tempPath("busy.log");
    Simulator sim(KX52B_SIM, {"--fast"}, logPath);
    kx::link::TSerialPortDriver holder;
    holder.SetComPortDevice(sim.port().toStdString());
    ASSERT_TRUE(holder.Connect());
    const DecodeRun busy = decode(KX52B_DECODE_4K, {"--port", sim.port(), "--seconds", "5"});
    EXPECT_NE(busy.exitCode, 0);
    EXPECT_EQ(busy.err.count('\n'), 1);
    EXPECT_TRUE(busy.err.contains("Device or resource busy")) << busy.err.toStdString();
    QFile::remove(logPath);
}

} // namespace
