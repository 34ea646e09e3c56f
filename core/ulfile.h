// Common interface of the record-file readers: open a file, prepare (skip
// or check its header), then read frames one at a time (getFrame) or in
// chunks on a template frame (getFrames) until a call returns false.
//
// A false return is the end of the file unless hasError() is set: then the
// file could not be read or its content does not fit the format, and
// errorString() says where. A reader is used by one thread at a time.
#pragma once

#include "vizoz_global.h"

#include <QByteArray>
#include <QFile>

class CanData;
class CanObj;

class VIZOZ_EXPORT UlFile : public QFile
{
    Q_OBJECT
public:
    explicit UlFile(QObject *parent = nullptr);

    using QFile::open;
    // Sets the file name and opens the file in the reader's mode.
    virtual bool open(const QString &fileName);
    // Positions the reader at the first frame.
    virtual bool prepare();
    // Replaces the frames with up to count frames read on the first frame of
    // the list as template (a default frame when the list is empty).
    virtual bool getFrames(CanData &frames, int count);
    // Reads the next frame into frame; fields the format does not carry
    // keep their values.
    virtual bool getFrame(CanObj &frame);

    bool hasError() const { return m_error; }
    // Recordings appended to one file, each with its own header: the
    // number (from 0) of the recording that the frames read last belong
    // to. Times of one recording say nothing about those of another.
    int recording() const { return m_recording; }

protected:
    void nextRecording() { ++m_recording; }
    void setReadError(const QString &what);
    void clearReadError() { m_error = false; }
    // Next line without its line end (LF, CR LF or CR); false at the end of
    // the file or on a read error or an overlong line (hasError() set). The
    // file is opened without QIODevice::Text.
    bool readTextLine(QByteArray &line);
    qint64 lineNumber() const { return m_lineNumber; }
    // Error texts of the text readers, naming the line (from 1).
    static QString badLineText(qint64 line);
    static QString badIdText(qint64 line);

private:
    bool m_error = false;
    qint64 m_lineNumber = 0;
    int m_recording = 0;
};
