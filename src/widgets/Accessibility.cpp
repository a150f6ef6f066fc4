// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The accessible interfaces of the program's own widgets.
#include "Accessibility.h"

#include <QAccessibleWidget>
#include <QRadioButton>

#include <utility>

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

// A widget with one action of its own besides Qt's ones: named by `name()` unless it has an
// accessible name, its action `action` does what a click does.
class ActingInterface : public QAccessibleWidget {
 public:
  ActingInterface(QWidget* widget, QAccessible::Role role, QString action)
      : QAccessibleWidget(widget, role), action_(std::move(action)) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) return name();
    return QAccessibleWidget::text(kind);
  }
  QStringList actionNames() const override {
    return QStringList{action_} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& name) override {
    if (name == action_ && widget()->isEnabled()) {
      act();
    } else {
      QAccessibleWidget::doAction(name);
    }
  }

 protected:
  virtual QString name() const = 0;
  virtual void act() = 0;

 private:
  QString action_;
};

// A link: named by its text; its press action opens it.
class LinkInterface : public ActingInterface {
 public:
  explicit LinkInterface(LinkLabel* link)
      : ActingInterface(link, QAccessible::Link, pressAction()) {}

  QAccessible::State state() const override {
    QAccessible::State state = ActingInterface::state();
    state.linked = true;
    return state;
  }

 protected:
  QString name() const override { return link()->text(); }
  void act() override { link()->activate(); }

 private:
  LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

// A radio button: named by its caption, checkable; its toggle action selects it.
class RadioInterface : public ActingInterface {
 public:
  explicit RadioInterface(QRadioButton* option)
      : ActingInterface(option, QAccessible::RadioButton, toggleAction()) {}

  QAccessible::State state() const override {
    QAccessible::State state = ActingInterface::state();
    state.checkable = true;
    state.checked = option()->isChecked();
    return state;
  }

 protected:
  QString name() const override { return withoutMnemonics(option()->text()); }
  void act() override { option()->click(); }

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
