#include "WidgetInventory.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFont>
#include <QGraphicsView>
#include <QGroupBox>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaProperty>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSizePolicy>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTextBrowser>
#include <QToolButton>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "GoldenGrid.h"

namespace n4test {

namespace {

// Fresh objects of the toolkit's classes: what a property is before the
// program sets it.
const std::map<QString, std::function<QObject*()>>& factories() {
    static const std::map<QString, std::function<QObject*()>> made = {
        {"QWidget", [] { return new QWidget; }},
        {"QFrame", [] { return new QFrame; }},
        {"QLabel", [] { return new QLabel; }},
        {"QPushButton", [] { return new QPushButton; }},
        {"QToolButton", [] { return new QToolButton; }},
        {"QCheckBox", [] { return new QCheckBox; }},
        {"QRadioButton", [] { return new QRadioButton; }},
        {"QComboBox", [] { return new QComboBox; }},
        {"QSpinBox", [] { return new QSpinBox; }},
        {"QDoubleSpinBox", [] { return new QDoubleSpinBox; }},
        {"QLineEdit", [] { return new QLineEdit; }},
        {"QGroupBox", [] { return new QGroupBox; }},
        {"QProgressBar", [] { return new QProgressBar; }},
        {"QMenuBar", [] { return new QMenuBar; }},
        {"QMenu", [] { return new QMenu; }},
        {"QStatusBar", [] { return new QStatusBar; }},
        {"QMainWindow", [] { return new QMainWindow; }},
        {"QMdiArea", [] { return new QMdiArea; }},
        {"QMdiSubWindow", [] { return new QMdiSubWindow; }},
        {"QDialog", [] { return new QDialog; }},
        {"QDialogButtonBox", [] { return new QDialogButtonBox; }},
        {"QScrollBar", [] { return new QScrollBar; }},
        {"QScrollArea", [] { return new QScrollArea; }},
        {"QAbstractScrollArea", [] { return new QAbstractScrollArea; }},
        {"QTableView", [] { return new QTableView; }},
        {"QTextBrowser", [] { return new QTextBrowser; }},
        {"QPlainTextEdit", [] { return new QPlainTextEdit; }},
        {"QSplitter", [] { return new QSplitter; }},
        {"QGraphicsView", [] { return new QGraphicsView; }},
        {"QAction", [] { return new QAction; }},
    };
    return made;
}

// Properties that repeat another one (the geometry says where and how
// large), follow from the contents, or depend on which window the platform
// made active.
const std::set<QString>& skipped() {
    static const std::set<QString> names = {"pos",
                                            "size",
                                            "x",
                                            "y",
                                            "width",
                                            "height",
                                            "rect",
                                            "frameGeometry",
                                            "normalGeometry",
                                            "frameRect",
                                            "frameSize",
                                            "childrenRect",
                                            "childrenRegion",
                                            "minimumWidth",
                                            "minimumHeight",
                                            "maximumWidth",
                                            "maximumHeight",
                                            "sizeHint",
                                            "minimumSizeHint",
                                            "focus",
                                            "isActiveWindow",
                                            "activeSubWindow"};
    return names;
}

QString sizeText(QSize s) {
    auto side = [](int v) {
        return v == QWIDGETSIZE_MAX ? QStringLiteral("max") : QString::number(v);
    };
    return side(s.width()) + "x" + side(s.height());
}

QString paletteText(const QPalette& p) {
    if (p.resolveMask() == 0) return "default";
    QStringList set;
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = static_cast<QPalette::ColorGroup>(g);
            const auto role = static_cast<QPalette::ColorRole>(r);
            if (p.isBrushSet(group, role))
                set << QStringLiteral("%1/%2 %3")
                           .arg(g)
                           .arg(r)
                           .arg(p.color(group, role).name(QColor::HexArgb));
        }
    return set.join(", ");
}

// One line each: line breaks as ⏎, a long text (a page of help) by its
// length and checksum.
QString shortened(const QString& s) {
    if (s.size() <= 200) return QString(s).replace('\n', QStringLiteral("⏎"));
    const QByteArray sum =
        QCryptographicHash::hash(s.toUtf8(), QCryptographicHash::Md5).toHex().left(12);
    return QStringLiteral("(%1 characters, md5 %2...)").arg(s.size()).arg(QString::fromLatin1(sum));
}

QString valueText(const QMetaProperty& property, const QVariant& v) {
    if (property.isEnumType()) {
        const QMetaEnum e = property.enumerator();
        const int raw = v.toInt();
        const QByteArray keys = e.isFlag() ? e.valueToKeys(raw) : QByteArray(e.valueToKey(raw));
        return keys.isEmpty() ? QString::number(raw) : QString::fromLatin1(keys);
    }
    switch (v.metaType().id()) {
    case QMetaType::QRect: {
        const QRect r = v.toRect();
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    case QMetaType::QSize:
        return sizeText(v.toSize());
    case QMetaType::QSizePolicy: {
        const auto p = v.value<QSizePolicy>();
        return QStringLiteral("%1/%2 stretch %3/%4")
            .arg(p.horizontalPolicy())
            .arg(p.verticalPolicy())
            .arg(p.horizontalStretch())
            .arg(p.verticalStretch());
    }
    case QMetaType::QFont:
        return v.value<QFont>().toString();
    case QMetaType::QPalette:
        return paletteText(v.value<QPalette>());
    case QMetaType::QIcon:
        return v.value<QIcon>().isNull() ? "none" : "an icon";
    case QMetaType::QPixmap:
    case QMetaType::QImage:
        return "a picture";
    case QMetaType::QKeySequence:
        return v.value<QKeySequence>().toString(QKeySequence::PortableText);
    case QMetaType::QCursor:
        return QString::number(v.value<QCursor>().shape());
    case QMetaType::QLocale:
        return v.toLocale().name();
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 8);
    case QMetaType::QStringList:
        return v.toStringList().join(" | ");
    default:
        break;
    }
    if (v.metaType().flags() & QMetaType::PointerToQObject) return "an object";
    if (v.canConvert<QString>()) return shortened(v.toString());
    return QString::fromLatin1(v.typeName());
}

class Inventory {
  public:
    ~Inventory() {
        for (auto& [name, object] : fresh_)
            delete object;
    }

    void widget(const QWidget& w, int depth) {
        line(depth, QStringLiteral("%1 \"%2\"").arg(w.metaObject()->className(), w.objectName()));
        properties(w, freshFor(w), depth + 1);
        for (QAction* a : w.actions())
            action(*a, depth + 1);
        for (QObject* child : w.children())
            if (child->isWidgetType()) widget(*static_cast<QWidget*>(child), depth + 1);
    }

    QString text;

  private:
    void action(const QAction& a, int depth) {
        line(depth, QStringLiteral("action \"%1\" %2").arg(a.objectName(), shortened(a.text())));
        // Tips and icon texts follow from the text unless the program sets them.
        QAction plain(a.text());
        properties(a, &plain, depth + 1);
        if (QMenu* menu = a.menu())
            line(depth + 1, QStringLiteral("opens %1").arg(menu->objectName()));
    }

    const QObject* freshFor(const QObject& o) {
        for (const QMetaObject* m = o.metaObject(); m; m = m->superClass()) {
            const QString name = QString::fromLatin1(m->className());
            if (auto f = fresh_.find(name); f != fresh_.end()) return f->second;
            if (auto maker = factories().find(name); maker != factories().end())
                return fresh_[name] = maker->second();
        }
        return nullptr;
    }

    void properties(const QObject& o, const QObject* fresh, int depth) {
        const QMetaObject* m = o.metaObject();
        for (int i = 0; i < m->propertyCount(); ++i) {
            const QMetaProperty p = m->property(i);
            const QString name = QString::fromLatin1(p.name());
            if (skipped().count(name) || name == "objectName") continue;
            const QString now = valueText(p, p.read(&o));
            QString before;
            if (fresh && fresh->metaObject()->indexOfProperty(p.name()) >= 0)
                before = valueText(p, fresh->property(p.name()));
            else
                before = QStringLiteral("\x01"); // a property of the program's own class
            if (now != before) line(depth, name + " " + now);
        }
        for (const QByteArray& dynamic : o.dynamicPropertyNames())
            line(depth,
                 QString::fromLatin1(dynamic) + " " + shortened(o.property(dynamic).toString()));
    }

    void line(int depth, const QString& s) { text += QString(depth * 2, ' ') + s + "\n"; }

    std::map<QString, QObject*> fresh_;
};

} // namespace

QString widgetInventory(const QWidget& window) {
    Inventory inventory;
    inventory.widget(window, 0);
    return inventory.text;
}

void expectInventory(const QString& name, const QWidget* window) {
    ASSERT_NE(window, nullptr) << name.toStdString();
    expectGolden("widgets/" + name.toStdString(), widgetInventory(*window).toStdString());
}

} // namespace n4test
