// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The accessible interfaces of the program's own widgets.
#include "Accessibility.h"

#include <QAccessibleWidget>
#include <QRadioButton>

#include "LinkLabel.h"

namespace corvane::widgets {
namespace {

QString withoutMnemonics(QString text) {
  for (qsizetype at = text.indexOf(u'&'); at >= 0 && at + 1 < text.size();
       at = text.indexOf(u'&', at + 1)) {
    text.remove(at, 1);  // "&&" leaves one '&', which the next search steps over
  }
  return text;
}

// A link: named by its text; its press action opens it as a click does.
class LinkInterface : public QAccessibleWidget {
 public:
  explicit LinkInterface(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
      return link()->text();
    }
    return QAccessibleWidget::text(kind);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    return state;
  }
  QStringList actionNames() const override {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& name) override {
    if (name == pressAction() && widget()->isEnabled()) {
      link()->activate();
    } else {
      QAccessibleWidget::doAction(name);
    }
  }

 private:
  LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

// A radio button: named by its caption, checkable, its toggle action selects it as a click does.
class RadioInterface : public QAccessibleWidget {
 public:
  explicit RadioInterface(QRadioButton* option)
      : QAccessibleWidget(option, QAccessible::RadioButton) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
      return withoutMnemonics(option()->text());
    }
    return QAccessibleWidget::text(kind);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = option()->isChecked();
    return state;
  }
  QStringList actionNames() const override {
    return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& name) override {
    if (name == toggleAction() && widget()->isEnabled()) {
      option()->click();
    } else {
      QAccessibleWidget::doAction(name);
    }
  }

 private:
  QRadioButton* option() const { return static_cast<QRadioButton*>(widget()); }
};

QAccessibleInterface* makeInterface(const QString& className, QObject* object) {
  if (object == nullptr || !object->isWidgetType()) return nullptr;
  if (className == QLatin1String(LinkLabel::staticMetaObject.className())) {
    return new LinkInterface(static_cast<LinkLabel*>(object));
  }
  if (className == QLatin1String(Grouping::staticMetaObject.className())) {
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
  }
  if (className == QLatin1String(QRadioButton::staticMetaObject.className())) {
    return new RadioInterface(static_cast<QRadioButton*>(object));
  }
  return nullptr;
}

}  // namespace

Grouping::Grouping(QWidget* parent) : QWidget(parent) {
  installAccessibleInterfaces();
}

void installAccessibleInterfaces() {
  static const bool installed = [] {
    QAccessible::installFactory(makeInterface);
    return true;
  }();
  Q_UNUSED(installed);
}

QString nameFromCaption(const QString& caption) {
  QString name = withoutMnemonics(caption).trimmed();
  if (name.endsWith(u':')) name.chop(1);
  return name.trimmed();
}

}  // namespace corvane::widgets
