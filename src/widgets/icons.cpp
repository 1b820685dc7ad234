#include "widgets/icons.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <algorithm>
#include <map>
#include <memory>

namespace qm {

namespace {

const QString kRoot = QStringLiteral(":/icons/");

QString SvgPath(const QString& name) { return kRoot + name + QStringLiteral(".svg"); }
QString PngPath(int size, const QString& name) {
    return kRoot + QString::number(size) + QLatin1Char('/') + name + QStringLiteral(".png");
}

// Draws one of our SVGs at whatever size is asked, through QtSvg itself
// rather than an icon-engine plug-in, so the drawings show wherever the
// program runs. Disabled and selected looks come from the style, as they
// do for the Tango pictures.
class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(std::shared_ptr<QSvgRenderer> renderer) : renderer_(std::move(renderer)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = pixmap(rect.size() * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pm);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const std::pair<int, int> key{size.width() * 10000 + size.height(), mode};
        if (auto it = cache_.find(key); it != cache_.end()) return it->second;
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            renderer_->render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        QPixmap pm = QPixmap::fromImage(image);
        if (mode != QIcon::Normal && mode != QIcon::Active &&
            qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption opt;
            opt.palette = QApplication::palette();
            const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pm, &opt);
            if (!generated.isNull()) pm = generated;
        }
        (void)state;
        cache_.emplace(key, pm);
        return pm;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(16, 16), QSize(22, 22)}; }
    QIconEngine* clone() const override { return new SvgIconEngine(renderer_); }
    QString key() const override { return QStringLiteral("QmSvgIcon"); }
    bool isNull() override { return !renderer_->isValid(); }

private:
    std::shared_ptr<QSvgRenderer> renderer_;
    std::map<std::pair<int, int>, QPixmap> cache_;
};

QIcon Load(const QString& name) {
    if (QFile::exists(SvgPath(name))) {
        auto renderer = std::make_shared<QSvgRenderer>(SvgPath(name));
        if (!renderer->isValid()) {
            qWarning("The icon %s is not a drawing QtSvg can read", qPrintable(SvgPath(name)));
            return {};
        }
        return QIcon(new SvgIconEngine(std::move(renderer)));
    }
    if (QFile::exists(PngPath(16, name))) {
        QIcon icon;
        for (int size : {16, 22}) icon.addFile(PngPath(size, name), QSize(size, size));
        return icon;
    }
    qWarning("The icon set has no icon named \"%s\"", qPrintable(name));
    return {};
}

QStringList Names(const QString& folder, const QString& suffix) {
    QStringList names;
    for (const QString& file : QDir(kRoot + folder).entryList({QLatin1Char('*') + suffix}, QDir::Files))
        names << file.chopped(suffix.size());
    return names;
}

}  // namespace

QIcon QmIcon(const QString& name) {
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(name);
    if (it == cache.constEnd()) it = cache.insert(name, Load(name));
    return *it;
}

bool QmHasIcon(const QString& name) {
    return !name.isEmpty() && (QFile::exists(SvgPath(name)) || QFile::exists(PngPath(16, name)));
}

QStringList QmOwnIconNames() {
    QStringList names = Names(QString(), QStringLiteral(".svg"));
    names.sort();
    return names;
}

QStringList QmIconNames() {
    QStringList names = QmOwnIconNames() + Names(QStringLiteral("16"), QStringLiteral(".png"));
    names.sort();
    return names;
}

// ------------------------------------------------------------- TImageList

TImageList::TImageList(std::initializer_list<std::pair<int, const char*>> glyphs) : glyphs_(glyphs) {
    std::sort(glyphs_.begin(), glyphs_.end());
}

QString TImageList::Name(int index) const {
    for (const auto& [i, name] : glyphs_)
        if (i == index) return QString::fromLatin1(name);
    return {};
}

QIcon TImageList::Glyph(int index) const {
    const QString name = Name(index);
    return name.isEmpty() ? QIcon() : QmIcon(name);
}

std::vector<int> TImageList::Indexes() const {
    std::vector<int> out;
    out.reserve(glyphs_.size());
    for (const auto& g : glyphs_) out.push_back(g.first);
    return out;
}

const TImageList& imlCommandBars() {
    static const TImageList list{
        {0, "topic-new"},
        {1, "popup-new"},
        {2, "list-remove"},
        {3, "contents-page"},
        {4, "document-properties"},
        {5, "renumber"},
        {6, "rename"},
        {7, "gutter"},
        {8, "go-top"},
        {9, "go-up"},
        {10, "go-down"},
        {11, "go-bottom"},
        {12, "keyword-add"},
        {13, "akeyword-add"},
        {14, "case-lower"},
        {15, "case-upper"},
        {16, "bookmark-toggle"},
        {17, "bookmark-previous"},
        {18, "bookmark-next"},
        {19, "bookmark-clear"},
    };
    return list;
}

const TImageList& imlCommands() {
    static const TImageList list{
        {kGlyphTopic, "topic"},
        {kGlyphCharacterStyle, "style-character"},
        {kGlyphCharacterStyle + 1, "style-paragraph"},
        {kGlyphCharacterStyle + 2, "style-align-left"},
        {kGlyphCharacterStyle + 3, "style-align-center"},
        {kGlyphCharacterStyle + 4, "style-align-right"},
        {47, "contents-page"},
        {kGlyphPopup, "popup"},
        {kGlyphNewTopic, "topic-new"},
        {kGlyphNewPopup, "popup-new"},
    };
    return list;
}

const TImageList& imlMisc() {
    static const TImageList list{{2, "dialog-error"}, {3, "dialog-warning"}};
    return list;
}

}  // namespace qm
