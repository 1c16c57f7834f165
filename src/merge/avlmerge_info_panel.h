#pragma once
// The merge window's information panel (TChart1): four lines of advice under
// a cover in the button-face colour. The cover's transparency (0 = opaque,
// 100 = gone) is stepped by the window's timer, so the text fades in once.
#include <QStringList>
#include <QWidget>

namespace avelin {

class InfoPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int transparency READ transparency WRITE setTransparency)
  public:
    explicit InfoPanel(QWidget* parent = nullptr);

    const QStringList& titleLines() const { return lines_; }
    int transparency() const { return transparency_; }
    void setTransparency(int percent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QStringList lines_;
    int transparency_ = 0;
};

} // namespace avelin
