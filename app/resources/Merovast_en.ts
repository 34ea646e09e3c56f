<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Merovast</name>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Open Device</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Close Device</translation>
    </message>
    <message>
        <source>Buffer</source>
        <translation>Data List</translation>
    </message>
    <message>
        <source>Buffer Setting</source>
        <translation>Data List</translation>
    </message>
    <message>
        <source>ID Format Setting</source>
        <translation>ID Format</translation>
    </message>
</context>
<context>
    <name>UiIdFilterSetting</name>
    <message>
        <source>Low(Hex)</source>
        <translation>Low(HEX)</translation>
    </message>
    <message>
        <source>High(Hex)</source>
        <translation>High(HEX)</translation>
    </message>
</context>
</TS>
