<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Merovast</name>
    <message>
        <source>English</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Exit application</source>
        <translation>退出程序</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Import Config</source>
        <translation>导入配置</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Export Config</source>
        <translation>导出配置</translation>
    </message>
    <message>
        <source>Bus Status</source>
        <translation>总线状态</translation>
    </message>
    <message>
        <source>Name Setting</source>
        <translation>名称设置</translation>
    </message>
    <message>
        <source>Update Firmware</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>Toolbars</source>
        <translation>工具栏</translation>
    </message>
    <message>
        <source>Show or hide the toolbars</source>
        <translation>显示或隐藏工具栏</translation>
    </message>
    <message>
        <source>Status Bar</source>
        <translation>状态栏</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>显示或隐藏状态栏</translation>
    </message>
    <message>
        <source>Tabbed</source>
        <translation>标签页</translation>
    </message>
    <message>
        <source>Tabbed the windows</source>
        <translation>以标签页排列窗口</translation>
    </message>
    <message>
        <source>SubWindow</source>
        <translation>子窗口</translation>
    </message>
    <message>
        <source>Sub the windows</source>
        <translation>以子窗口排列窗口</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>平铺(&amp;T)</translation>
    </message>
    <message>
        <source>Tile the windows</source>
        <translation>平铺窗口</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>层叠(&amp;C)</translation>
    </message>
    <message>
        <source>Cascade the windows</source>
        <translation>层叠窗口</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>打开设备</translation>
    </message>
    <message>
        <source>Open the device</source>
        <translation>打开设备</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭设备</translation>
    </message>
    <message>
        <source>Close the device</source>
        <translation>关闭设备</translation>
    </message>
    <message>
        <source>Buffer</source>
        <translation>缓冲区</translation>
    </message>
    <message>
        <source>Data List Setting</source>
        <translation>数据列表设置</translation>
    </message>
    <message>
        <source>Buffer Setting</source>
        <translation>缓冲区设置</translation>
    </message>
    <message>
        <source>ID Format</source>
        <translation>ID格式</translation>
    </message>
    <message>
        <source>ID Format Setting</source>
        <translation>ID格式设置</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>About Merovast</source>
        <translation>关于 Merovast</translation>
    </message>
    <message>
        <source>Device Information</source>
        <translation>设备信息</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>How to use</source>
        <translation>使用说明</translation>
    </message>
    <message>
        <source>ManualScroll</source>
        <translation>手动滚动</translation>
    </message>
    <message>
        <source>Manual Scroll</source>
        <translation>手动滚动</translation>
    </message>
    <message>
        <source>AutoScroll</source>
        <translation>自动滚动</translation>
    </message>
    <message>
        <source>Auto Scroll</source>
        <translation>自动滚动</translation>
    </message>
    <message>
        <source>Watch</source>
        <translation>监视</translation>
    </message>
    <message>
        <source>Watch Data</source>
        <translation>按ID监视数据</translation>
    </message>
    <message>
        <source>DBC replay</source>
        <translation>DBC回放</translation>
    </message>
    <message>
        <source>Read data from file</source>
        <translation>从文件读取数据</translation>
    </message>
</context>
<context>
    <name>MerovastClass</name>
    <message>
        <source>Merovast</source>
        <translation>Merovast</translation>
    </message>
    <message>
        <source>Cascade</source>
        <translation>层叠</translation>
    </message>
    <message>
        <source>Tile</source>
        <translation>平铺</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>View</source>
        <translation>视图</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>窗口</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>工具</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Merovast</source>
        <translation>Merovast</translation>
    </message>
    <message>
        <source>Unable to launch Help (%1)</source>
        <translation>无法启动帮助程序 (%1)</translation>
    </message>
</context>
<context>
    <name>UiMessage</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
</context>
<context>
    <name>UiStatusBar</name>
    <message>
        <source>Send Time(s)</source>
        <translation>发送时间(秒)</translation>
    </message>
    <message>
        <source>Send Frames</source>
        <translation>发送帧数</translation>
    </message>
    <message>
        <source>Receive Frames</source>
        <translation>接收帧数</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
</context>
<context>
    <name>UlCsvFormat</name>
    <message>
        <source>Index</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>传输方向</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Id(Align Right)</source>
        <translation>帧ID(右对齐)</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>帧格式</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>帧类型</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>数据长度</translation>
    </message>
    <message>
        <source>Data(HEX)</source>
        <translation>数据(HEX)</translation>
    </message>
    <message>
        <source>Id(Align Left)</source>
        <translation>帧ID(左对齐)</translation>
    </message>
    <message>
        <source>Rx</source>
        <translation>接收</translation>
    </message>
    <message>
        <source>Tx</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Data Frame</source>
        <translation>数据帧</translation>
    </message>
    <message>
        <source>Remote</source>
        <translation>远程帧</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准帧</translation>
    </message>
    <message>
        <source>Extend</source>
        <translation>扩展帧</translation>
    </message>
</context>
</TS>
