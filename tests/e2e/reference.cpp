#include "tests/e2e/reference.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace kx::e2e {

namespace {

std::optional<int> optionalInt(const QJsonValue &value)
{
    return value.isNull() ? std::nullopt : std::optional(value.toInt());
}

Expected fromJson(const QJsonObject &o)
{
    Expected e;
    e.frame = o["frame"].toString();
    e.DisplayText = o["DisplayText"].toString();
    e.UnitText = o["UnitText"].toString();
    e.CouplingText = o["CouplingText"].toString();
    e.RangeModeText = o["RangeModeText"].toString();
    e.ReadingValue = o["ReadingValue"].toDouble();
    const QJsonObject captions = o["captions"].toObject();
    for (auto it = captions.begin(); it != captions.end(); ++it)
        e.captions[it.key()] = it.value().toString();
    for (const QJsonValue &name : o["shown"].toArray())
        e.shown.append(name.toString());
    e.gauge = optionalInt(o["gauge"]);
    e.bar = optionalInt(o["bar"]);
    if (!o["chart"].isNull())
        e.chart = o["chart"].toDouble();
    e.reset = o["reset"].toBool();
    e.alarm = o["alarm"].toBool();
    e.MaxText = o["MaxText"].toString();
    e.MinText = o["MinText"].toString();
    e.MaxTextU = o["MaxTextU"].toString();
    e.MinTextU = o["MinTextU"].toString();
    const QJsonArray axis = o["axis"].toArray();
    e.axisMinimum = axis.at(0).toDouble();
    e.axisMaximum = axis.at(1).toDouble();
    e.error = o["error"].toString();
    return e;
}

} // namespace

std::vector<Expected> referenceDecoding(const std::string &bytes, const Limits &limits, const QString &workDir)
{
    const QString input = QDir(workDir).filePath(QStringLiteral("reference-input.bin"));
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        ADD_FAILURE() << "cannot write " << input.toStdString();
        return {};
    }
    file.close();

    QProcess decoder;
    decoder.start(QStringLiteral(KX52B_DECODE), {"--setmax", limits.max, "--setmin", limits.min, input});
    if (!decoder.waitForFinished(60'000) || decoder.exitCode() != 0) {
        ADD_FAILURE() << "the headless decoder failed: " << decoder.readAllStandardError().toStdString();
        return {};
    }
    std::vector<Expected> expected;
    for (const QByteArray &line : decoder.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(line, &error);
        if (!json.isObject()) {
            ADD_FAILURE() << "not a JSON line: " << line.toStdString();
            return {};
        }
        expected.push_back(fromJson(json.object()));
    }
    return expected;
}

void expectShownAsWritten(const std::vector<ScenarioFrame> &frames, const std::vector<Expected> &expected)
{
    ASSERT_EQ(expected.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const ScenarioFrame &f = frames[i];
        const Expected &e = expected[i];
        EXPECT_EQ(e.frame.toStdString(), f.lastFrame) << "frame " << i;
        QString digits = e.DisplayText;
        const bool negative = digits.startsWith(u'-');
        digits.remove(u'-').remove(u'.');
        EXPECT_EQ(digits.toStdString(), f.glyphs) << "frame " << i << " " << f.lastFrame;
        EXPECT_EQ(negative, f.negative) << "frame " << i << " " << f.lastFrame;
        EXPECT_TRUE(e.error.isEmpty()) << "frame " << i << " " << f.lastFrame << ": " << e.error.toStdString();
    }
}

} // namespace kx::e2e
