#pragma once
// The about window: product name, version, build, the program file's date, the web engine's
// version, and the maker's web and mail addresses (each opens on a click, bold under the mouse).

#include <QDialog>
#include <QString>

class QLabel;
class ButtonEx;

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    /// webEngineVersion: the web engine version found at start-up, or "N/A".
    explicit frmAbout(const QString &webEngineVersion, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Hover { None, Web, Mail };
    void setHover(Hover hover);

    QLabel *lblAbout = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblBuild = nullptr;
    QLabel *lblDate = nullptr;
    QLabel *lblIEversion = nullptr;
    QLabel *lblWeb = nullptr;
    QLabel *lblemail = nullptr;
    ButtonEx *cmdEnd = nullptr;
};
