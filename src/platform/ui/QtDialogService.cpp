#include "platform/ui/QtDialogService.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>

namespace {
// Closes a view without running its close-box handling: a dialog ends as accepted.
void CloseView(QWidget* view) {
    if (auto* d = qobject_cast<QDialog*>(view))
        d->done(QDialog::Accepted);
    else
        view->close();
}

// Qt's filter text: the name, with the pattern in brackets unless the name shows it already.
QString QtFilter(const FileDialogRequest& r) {
    if (r.pattern.isEmpty() || r.filterName.contains(QLatin1Char('(') + r.pattern + QLatin1Char(')')))
        return r.filterName;
    return r.filterName + QStringLiteral(" (") + r.pattern + QLatin1Char(')');
}

void Prepare(QFileDialog& dlg, const FileDialogRequest& r) {
    dlg.setWindowTitle(r.title);
    if (!r.startFolder.isEmpty()) dlg.setDirectory(r.startFolder);
    dlg.setNameFilter(QtFilter(r));
}
} // namespace

QWidget* QtDialogService::makeView(DialogWindow& w) {
    const auto f = factories_.find(std::type_index(typeid(w)));
    if (f == factories_.end()) {
        qWarning("No view is registered for the dialog %s", typeid(w).name());
        return nullptr;
    }
    return f->second(w, QApplication::activeWindow());
}

void QtDialogService::ShowModal(DialogWindow& w) {
    QPointer<QWidget> view = makeView(w);
    if (!view) return;
    w.setUnloadHook([view] {
        if (view) CloseView(view);
    });
    if (auto* d = qobject_cast<QDialog*>(view.data())) {
        d->exec();
    } else {
        // Any other widget: shown application modal until it closes.
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->setWindowModality(Qt::ApplicationModal);
        QEventLoop loop;
        QObject::connect(view, &QObject::destroyed, &loop, &QEventLoop::quit);
        view->show();
        loop.exec();
    }
    w.setUnloadHook(nullptr);
    delete view.data();
}

void QtDialogService::ShowModeless(DialogWindow& w) {
    const auto open = modeless_.find(&w);
    if (open != modeless_.end()) {
        if (open->second->isVisible()) {
            // Already shown: brought to the front, as showing a shown window does.
            open->second->raise();
            open->second->activateWindow();
            return;
        }
        modeless_.erase(open); // closed, and deleted soon
    }
    QWidget* view = makeView(w);
    if (!view) return;
    view->setAttribute(Qt::WA_DeleteOnClose);
    modeless_[&w] = view;
    QPointer<QWidget> guard(view);
    w.setUnloadHook([this, &w, guard] {
        modeless_.erase(&w);
        w.setUnloadHook(nullptr);
        if (guard) CloseView(guard);
    });
    // The window object outlives its view; once the view is gone the window is no longer shown.
    // A view deleted late must not unbind a newer view of the same window.
    QObject::connect(view, &QObject::destroyed, [this, &w, view] {
        const auto it = modeless_.find(&w);
        if (it == modeless_.end() || it->second != view) return;
        modeless_.erase(it);
        w.setUnloadHook(nullptr);
    });
    view->show();
}

std::optional<QString> QtDialogService::OpenFile(const FileDialogRequest& r) {
    QFileDialog dlg(QApplication::activeWindow());
    Prepare(dlg, r);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name need not exist: the procedure that reads the file tells the operator when it
    // is not there.
    dlg.setFileMode(QFileDialog::AnyFile);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return dlg.selectedFiles().constFirst();
}

std::optional<QString> QtDialogService::SaveFile(const FileDialogRequest& r) {
    QFileDialog dlg(QApplication::activeWindow());
    Prepare(dlg, r);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    // Qt would ask about the name as typed; the question is asked here about the name that is
    // written, with the extension added.
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    for (;;) {
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
        const QString path = WithPatternExtension(dlg.selectedFiles().constFirst(), r.pattern);
        const QFileInfo info(path);
        if (!info.exists()) return path;
        const QMessageBox::StandardButton a = QMessageBox::warning(
            &dlg, r.title,
            QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(info.fileName()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (a == QMessageBox::Yes) return path;
        dlg.selectFile(info.fileName());
    }
}
