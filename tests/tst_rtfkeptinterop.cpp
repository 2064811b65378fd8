// A document that LibreOffice writes, opened and saved by us, reads back in LibreOffice
// with the same headers, footers, notes, page set-up, properties, style names, bookmarks,
// comments, breaks, columns and links. The document is built here, from Flat ODT.
#include "rtfcodec.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

class TestRtfKeptInterop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sameInLibreOffice_data();
    void sameInLibreOffice();
    void stableThroughUs();

private:
    void convert(const QString &to, const QStringList &files);
    QString readText(const QString &path);

    QTemporaryDir m_dir;
    QString m_theirs, m_ours;   // both read back by LibreOffice, as Flat ODT
};

static const char kFlatOdt[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:meta>
  <dc:title>Título de prueba</dc:title>
  <dc:subject>Asunto de prueba</dc:subject>
  <meta:initial-creator>Ana Autora</meta:initial-creator>
  <meta:keyword>clave1</meta:keyword>
 </office:meta>
 <office:styles>
  <style:style style:name="Standard" style:family="paragraph"/>
  <style:style style:name="Heading_20_1" style:display-name="Heading 1" style:family="paragraph"
   style:parent-style-name="Standard"><style:text-properties fo:font-size="18pt" fo:font-weight="bold"/></style:style>
  <style:style style:name="Mi_20_estilo" style:display-name="Mi estilo" style:family="paragraph"
   style:parent-style-name="Standard"><style:text-properties fo:font-style="italic"/></style:style>
 </office:styles>
 <office:automatic-styles>
  <style:style style:name="PBreak" style:family="paragraph" style:parent-style-name="Standard">
   <style:paragraph-properties fo:break-before="page"/></style:style>
  <style:style style:name="Sect1" style:family="section">
   <style:section-properties><style:columns fo:column-count="2" fo:column-gap="0.5cm"/></style:section-properties>
  </style:style>
  <style:page-layout style:name="pm1">
   <style:page-layout-properties fo:page-width="21cm" fo:page-height="14.8cm" style:print-orientation="landscape"
    fo:margin-top="1.5cm" fo:margin-bottom="1.7cm" fo:margin-left="2.2cm" fo:margin-right="1.9cm"/>
  </style:page-layout>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Standard" style:page-layout-name="pm1">
   <style:header><text:p>Texto de cabecera</text:p></style:header>
   <style:footer><text:p>Página <text:page-number text:select-page="current">1</text:page-number></text:p></style:footer>
  </style:master-page>
 </office:master-styles>
 <office:body>
  <office:text>
   <text:p text:style-name="Heading_20_1">Encabezado uno</text:p>
   <text:p text:style-name="Mi_20_estilo">Con estilo propio y una nota<text:note text:id="ftn1" text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p>Texto de la nota al pie.</text:p></text:note-body></text:note> y otra<text:note text:id="edn1" text:note-class="endnote"><text:note-citation>i</text:note-citation><text:note-body><text:p>Texto de la nota final.</text:p></text:note-body></text:note>.</text:p>
   <text:p>Un <text:bookmark-start text:name="marcador1"/>marcador<text:bookmark-end text:name="marcador1"/> y un <office:annotation><dc:creator>Revisor</dc:creator><dc:date>2024-01-01T00:00:00</dc:date><text:p>Comentario aquí</text:p></office:annotation>comentario<office:annotation-end/> y un <text:a xlink:type="simple" xlink:href="https://example.org/">enlace</text:a>.</text:p>
   <text:p text:style-name="PBreak">Tras el salto de página.</text:p>
   <text:section text:style-name="Sect1" text:name="Seccion1">
    <text:p>Texto en dos columnas. Texto en dos columnas. Texto en dos columnas.</text:p>
   </text:section>
   <text:p>Fin.</text:p>
  </office:text>
 </office:body>
</office:document>
)";

QString TestRtfKeptInterop::readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// LibreOffice with a profile of its own, so that it neither waits for nor disturbs
// another instance; its first start can take half a minute.
void TestRtfKeptInterop::convert(const QString &to, const QStringList &files)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    QProcess p;
    p.setWorkingDirectory(m_dir.path());
    p.start(soffice, QStringList{u"-env:UserInstallation=file://"_qs + m_dir.filePath(u"profile"_qs),
                                 u"--headless"_qs, u"--convert-to"_qs, to, u"--outdir"_qs,
                                 m_dir.filePath(to)} + files);
    QVERIFY(p.waitForFinished(180000));
    QCOMPARE(p.exitCode(), 0);
}

void TestRtfKeptInterop::initTestCase()
{
    // The test set-up installs LibreOffice: without it this test proves nothing.
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty(),
             "soffice not found; scripts/run-tests.sh installs libreoffice-writer-nogui");
    QVERIFY(m_dir.isValid());
    QFile odt(m_dir.filePath(u"doc.fodt"_qs));
    QVERIFY(odt.open(QIODevice::WriteOnly));
    odt.write(kFlatOdt);
    odt.close();
    convert(u"rtf"_qs, {odt.fileName()});
    const QString theirs = m_dir.filePath(u"rtf/doc.rtf"_qs);
    const QString ours = m_dir.filePath(u"ours.rtf"_qs);
    QTextDocument doc;
    rtf::readFile(theirs, &doc);
    rtf::writeFile(ours, &doc);
    convert(u"fodt"_qs, {theirs, ours});
    m_theirs = readText(m_dir.filePath(u"fodt/doc.fodt"_qs));
    m_ours = readText(m_dir.filePath(u"fodt/ours.fodt"_qs));
    QVERIFY(!m_theirs.isEmpty());
    QVERIFY(!m_ours.isEmpty());
}

// Each property as LibreOffice's Flat ODT states it: the matches of a pattern, in order.
void TestRtfKeptInterop::sameInLibreOffice_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("count");   // how many the original has
    auto row = [](const char *name, const char *pattern, int count) {
        QTest::newRow(name) << QString::fromUtf8(pattern) << count;
    };
    row("header text", "<style:header>.*?(Texto de cabecera).*?</style:header>", 1);
    row("footer text", "<style:footer>.*?(Página ).*?</style:footer>", 1);
    row("page-number field", "<style:footer>.*?(<text:page-number).*?</style:footer>", 1);
    row("note classes", "<text:note [^>]*(text:note-class=\"\\w+\")", 2);
    row("note texts", "<text:note-body>.*?>([^<>]+)</text:span>", 2);
    row("page width", "<style:page-layout-properties[^>]*(fo:page-width=\"[^\"]*\")", 1);
    row("page height", "<style:page-layout-properties[^>]*(fo:page-height=\"[^\"]*\")", 1);
    row("orientation", "<style:page-layout-properties[^>]*(style:print-orientation=\"\\w+\")", 1);
    row("left margin", "<style:page-layout-properties[^>]*(fo:margin-left=\"[^\"]*\")", 1);
    row("right margin", "<style:page-layout-properties[^>]*(fo:margin-right=\"[^\"]*\")", 1);
    row("title", "(<dc:title>[^<]*)", 1);
    row("subject", "(<dc:subject>[^<]*)", 1);
    row("author", "(<meta:initial-creator>[^<]*)", 1);
    row("keywords", "(<meta:keyword>[^<]*)", 1);
    row("style names", "(?:style:parent-style-name|text:style-name)=\"(Heading_20_1|Mi_20_estilo)\"", 1);
    row("bookmark", "(<text:bookmark-start text:name=\"[^\"]*\")", 1);
    row("comment", "<office:annotation[ >].*?(Revisor).*?>(Comentario aquí)<", 1);
    row("page break", "(fo:break-before=\"page\")", 1);
    row("columns", "(fo:column-count=\"2\")", 1);
    row("hyperlink", "(xlink:href=\"https://example.org/\")", 1);
}

static QStringList matches(const QString &xml, const QString &pattern)
{
    QStringList found;
    const QRegularExpression re(pattern, QRegularExpression::DotMatchesEverythingOption);
    for (auto it = re.globalMatch(xml); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        found << m.capturedTexts().mid(1).join(u'|');
    }
    found.removeDuplicates();
    return found;
}

void TestRtfKeptInterop::sameInLibreOffice()
{
    QFETCH(QString, pattern);
    QFETCH(int, count);
    const QStringList theirs = matches(m_theirs, pattern);
    QVERIFY2(theirs.size() >= count, qPrintable(theirs.join(u", ")));
    QCOMPARE(matches(m_ours, pattern), theirs);
}

// LibreOffice's file through our reader and writer twice gives the same bytes.
void TestRtfKeptInterop::stableThroughUs()
{
    QTextDocument doc;
    rtf::readFile(m_dir.filePath(u"ours.rtf"_qs), &doc);
    QFile first(m_dir.filePath(u"ours.rtf"_qs));
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(rtf::write(&doc), first.readAll());
}

QTEST_GUILESS_MAIN(TestRtfKeptInterop)
#include "tst_rtfkeptinterop.moc"
