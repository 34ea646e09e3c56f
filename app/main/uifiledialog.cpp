#include "uifiledialog.h"

#include <QFileDialog>

namespace {

UiFileDialog::Handler &handler()
{
    static UiFileDialog::Handler current;
    return current;
}

QString ask(const UiFileDialog::Request &request)
{
    if (handler())
        return handler()(request);
    if (request.mode == UiFileDialog::Open)
        return QFileDialog::getOpenFileName(request.parent, request.caption, request.dir, request.filter);
    return QFileDialog::getSaveFileName(request.parent, request.caption, request.dir, request.filter,
                                        request.selectedFilter);
}

} // namespace

QString UiFileDialog::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                      const QString &filter)
{
    return ask({Open, parent, caption, dir, filter, nullptr});
}

QString UiFileDialog::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                      const QString &filter, QString *selectedFilter)
{
    return ask({Save, parent, caption, dir, filter, selectedFilter});
}

UiFileDialog::Handler UiFileDialog::setHandler(Handler replacement)
{
    Handler previous = std::move(handler());
    handler() = std::move(replacement);
    return previous;
}
