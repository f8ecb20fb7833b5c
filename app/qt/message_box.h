// The program's one kind of message box: modal, one OK button, no icon, the application's title.
#pragma once

#include <QString>
#include <QWidget>

namespace addrvue::qt {

// Shows the box over `parent` and returns when the user has closed it.
void ShowProgramMessageBox(QWidget* parent, const QString& text);

}  // namespace addrvue::qt
