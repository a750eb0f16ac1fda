#pragma once

#include <QObject>

class QSettings;

// How the board is shown: its zoom and whether numbered chips show their values. Both are
// kept in the settings between runs.
class ViewSettings : public QObject
{
    Q_OBJECT

public:
    // Zoom steps in percent, smallest first.
    static constexpr int ZoomSteps[] = {50, 75, 100, 150, 200, 300, 400};
    static constexpr int StepCount = int(sizeof(ZoomSteps) / sizeof(ZoomSteps[0]));

    explicit ViewSettings(QSettings &settings, QObject *parent = nullptr);

    int zoomPercent() const { return ZoomSteps[mStep]; }
    qreal scale() const { return zoomPercent() / 100.0; }
    bool canZoomIn() const { return mStep + 1 < StepCount; }
    bool canZoomOut() const { return mStep > 0; }
    void zoomIn();
    void zoomOut();
    void resetZoom();
    // The nearest step at or below `percent`; the smallest step below that.
    void setZoomPercent(int percent);

    bool showsValues() const { return mShowValues; }
    void setShowsValues(bool on);

Q_SIGNALS:
    void zoomChanged();
    void showValuesChanged();

private:
    void setStep(int step);

    QSettings &mSettings;
    int mStep;
    bool mShowValues;
};
