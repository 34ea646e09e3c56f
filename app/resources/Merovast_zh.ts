<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CANFile</name>
    <message>
        <source>Not a .can record file.</source>
        <translation>不是.can记录文件。</translation>
    </message>
    <message>
        <source>Record %1 is incomplete.</source>
        <translation>第%1条记录不完整。</translation>
    </message>
    <message>
        <source>Record %1 has a data length above 8.</source>
        <translation>第%1条记录的数据长度大于8。</translation>
    </message>
    <message>
        <source>Record %1 has a remote or extended flag other than 0 or 1.</source>
        <translation>第%1条记录的远程帧或扩展帧标志不是0或1。</translation>
    </message>
    <message>
        <source>Record %1: the ID does not fit its frame format (standard up to 0x7FF, extended up to 0x1FFFFFFF).</source>
        <translation>第%1条记录：帧ID超出其帧格式的范围（标准帧最大0x7FF，扩展帧最大0x1FFFFFFF）。</translation>
    </message>
</context>
<context>
    <name>CANRunStatusWidget</name>
    <message>
        <source>RunStatus</source>
        <translation>运行状态</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>负载</translation>
    </message>
    <message>
        <source>FrameRate</source>
        <translation>帧速率</translation>
    </message>
    <message>
        <source>Frame/Sec</source>
        <translation>帧/秒</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>ControlStatus</source>
        <translation>控制器状态</translation>
    </message>
    <message>
        <source>RecFIFOFull</source>
        <translation>接收缓冲满</translation>
    </message>
    <message>
        <source>RecFIFOOut</source>
        <translation>接收溢出</translation>
    </message>
    <message>
        <source>SendFIFOEmpty</source>
        <translation>发送缓冲空</translation>
    </message>
    <message>
        <source>SendEnd</source>
        <translation>发送完成</translation>
    </message>
    <message>
        <source>Recving</source>
        <translation>正在接收</translation>
    </message>
    <message>
        <source>BusStatus</source>
        <translation>总线状态</translation>
    </message>
    <message>
        <source>BusOK</source>
        <translation>总线正常</translation>
    </message>
    <message>
        <source>BusClose</source>
        <translation>总线关闭</translation>
    </message>
    <message>
        <source>ErrorNegative</source>
        <translation>错误被动</translation>
    </message>
    <message>
        <source>ErrorActive</source>
        <translation>错误主动</translation>
    </message>
    <message>
        <source>ErrorCount</source>
        <translation>错误计数</translation>
    </message>
    <message>
        <source>Recv</source>
        <translation>接收</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
</context>
<context>
    <name>CAutoProbingThread</name>
    <message>
        <source>Recommended</source>
        <translation>推荐</translation>
    </message>
    <message>
        <source>Not recommended</source>
        <translation>不推荐</translation>
    </message>
</context>
<context>
    <name>ChargeEndWidget</name>
    <message>
        <source>ChargeEndWidget</source>
        <translation>充电结束</translation>
    </message>
    <message>
        <source>Stop charge status(%)：</source>
        <translation>中止SOC(%)：</translation>
    </message>
    <message>
        <source>Max monomer voltage(V)：</source>
        <translation>最高单体(V)：</translation>
    </message>
    <message>
        <source>Min monomer voltage(V)：</source>
        <translation>最低单体(V)：</translation>
    </message>
    <message>
        <source>Max temperature(°C)：</source>
        <translation>最高温度(°C)：</translation>
    </message>
    <message>
        <source>Min temperature(°C)：</source>
        <translation>最低温度(°C)：</translation>
    </message>
    <message>
        <source>Charge time(min)：</source>
        <translation>充电时间(min)：</translation>
    </message>
    <message>
        <source>Output energy(kW.h)：</source>
        <translation>电量(kW.h)：</translation>
    </message>
    <message>
        <source>Charge SN：</source>
        <translation>充电机编号：</translation>
    </message>
</context>
<context>
    <name>ChargeErrorWidget</name>
    <message>
        <source>ChargeErrorWidget</source>
        <translation>充电错误</translation>
    </message>
    <message>
        <source>Recv charger identification msg(SPN2560=00)：</source>
        <translation>充电机辨识报文(SPN2560=00)：</translation>
    </message>
    <message>
        <source>Recv Charger identification msg(SPN2560=aa)：</source>
        <translation>充电机辨识报文(SPN2560=AA)：</translation>
    </message>
    <message>
        <source>Recv Charger time sync and max output capability msg：</source>
        <translation>时间同步和最大输出能力报文：</translation>
    </message>
    <message>
        <source>Recv Charger is ready to charge  msg：</source>
        <translation>充电机完成充电准备报文：</translation>
    </message>
    <message>
        <source>Recv Charger status  msg：</source>
        <translation>充电机充电状态报文：</translation>
    </message>
    <message>
        <source>Recv Charger Stop charge  msg：</source>
        <translation>充电机中止充电报文：</translation>
    </message>
    <message>
        <source>Recv Charger statistics msg：</source>
        <translation>充电机统计数据报文：</translation>
    </message>
    <message>
        <source>Recv BMS and car Identificate msg：</source>
        <translation>BMS和车辆辨识报文：</translation>
    </message>
    <message>
        <source>Recv charge param  msg：</source>
        <translation>电池充电参数报文：</translation>
    </message>
    <message>
        <source>Recv BMS is ready to charge  msg：</source>
        <translation>BMS充电准备报文：</translation>
    </message>
    <message>
        <source>Recv charge total state  msg：</source>
        <translation>电池充电总状态报文：</translation>
    </message>
    <message>
        <source>Recv charging requirements  msg：</source>
        <translation>电池充电需求报文：</translation>
    </message>
    <message>
        <source>Recv BMS stop charge  msg：</source>
        <translation>BMS中止充电报文：</translation>
    </message>
    <message>
        <source>Recv BMS statistics msg：</source>
        <translation>BMS统计数据报文：</translation>
    </message>
</context>
<context>
    <name>ChargeHandshakeWidget</name>
    <message>
        <source>Charging pile handshake：</source>
        <translation>充电桩握手：</translation>
    </message>
    <message>
        <source>BMS handshake：</source>
        <translation>BMS握手：</translation>
    </message>
    <message>
        <source>Charge protocol version：</source>
        <translation>协议版本：</translation>
    </message>
    <message>
        <source>BMS recognize：</source>
        <translation>BMS辨识：</translation>
    </message>
    <message>
        <source>Charge number：</source>
        <translation>桩编号：</translation>
    </message>
    <message>
        <source>Area code：</source>
        <translation>区域编码：</translation>
    </message>
    <message>
        <source>Battery type：</source>
        <translation>电池类型：</translation>
    </message>
    <message>
        <source>Rated capacity：</source>
        <translation>额定容量：</translation>
    </message>
    <message>
        <source>Rated total voltage：</source>
        <translation>额定电压：</translation>
    </message>
    <message>
        <source>Manufacturer：</source>
        <translation>生产厂商：</translation>
    </message>
    <message>
        <source>Battery SN：</source>
        <translation>电池序号：</translation>
    </message>
    <message>
        <source>Production date：</source>
        <translation>生产日期：</translation>
    </message>
    <message>
        <source>Number of Charging：</source>
        <translation>充电次数：</translation>
    </message>
    <message>
        <source>Property right：</source>
        <translation>产权标识：</translation>
    </message>
    <message>
        <source>Car VIN：</source>
        <translation>车辆VIN：</translation>
    </message>
    <message>
        <source>BMS version：</source>
        <translation>BMS版本：</translation>
    </message>
    <message>
        <source>Lead-acid battery</source>
        <translation>铅酸电池</translation>
    </message>
    <message>
        <source>NiMH battery</source>
        <translation>镍氢电池</translation>
    </message>
    <message>
        <source>Lithium iron phosphate battery</source>
        <translation>磷酸铁锂电池</translation>
    </message>
    <message>
        <source>Lithium manganate battery</source>
        <translation>锰酸锂电池</translation>
    </message>
    <message>
        <source>Lithium cobalt oxide battery</source>
        <translation>钴酸锂电池</translation>
    </message>
    <message>
        <source>Ternary material battery</source>
        <translation>三元材料电池</translation>
    </message>
    <message>
        <source>Polymer li-ion battery</source>
        <translation>聚合物锂离子电池</translation>
    </message>
    <message>
        <source>Lithium titanate battery</source>
        <translation>钛酸锂电池</translation>
    </message>
    <message>
        <source>Other battery</source>
        <translation>其他电池</translation>
    </message>
    <message>
        <source>Car own</source>
        <translation>车辆自有</translation>
    </message>
    <message>
        <source>Lease</source>
        <translation>租赁</translation>
    </message>
</context>
<context>
    <name>ChargeParamConfigWidget</name>
    <message>
        <source>Max charge voltage for cell(V)：</source>
        <translation>单体最高电压(V)：</translation>
    </message>
    <message>
        <source>Max charge current for cell(A)：</source>
        <translation>最高允许充电电流(A)：</translation>
    </message>
    <message>
        <source>Nominal total energy(kW.h)：</source>
        <translation>标称总能量(kW.h)：</translation>
    </message>
    <message>
        <source>Max charge total voltage(V)：</source>
        <translation>最高充电总电压(V)：</translation>
    </message>
    <message>
        <source>Max temperature(℃)：</source>
        <translation>最高允许温度(℃)：</translation>
    </message>
    <message>
        <source>Charged state(%)：</source>
        <translation>荷电状态(%)：</translation>
    </message>
    <message>
        <source>Current voltage(V)：</source>
        <translation>当前电池电压(V)：</translation>
    </message>
    <message>
        <source>Charge pile time sync：</source>
        <translation>时间同步：</translation>
    </message>
    <message>
        <source>Max output voltage(V)：</source>
        <translation>最高输出电压(V)：</translation>
    </message>
    <message>
        <source>Min output voltage(V)：</source>
        <translation>最低输出电压(V)：</translation>
    </message>
    <message>
        <source>Max output current(A)：</source>
        <translation>最大输出电流(A)：</translation>
    </message>
    <message>
        <source>Min output current(A)：</source>
        <translation>最小输出电流(A)：</translation>
    </message>
    <message>
        <source>BMS status：</source>
        <translation>BMS就绪：</translation>
    </message>
    <message>
        <source>Charge pile status：</source>
        <translation>充电桩就绪：</translation>
    </message>
</context>
<context>
    <name>ChargingWidget</name>
    <message>
        <source>Voltage demand(V)：</source>
        <translation>需求电压(V)：</translation>
    </message>
    <message>
        <source>Current demand(A)：</source>
        <translation>需求电流(A)：</translation>
    </message>
    <message>
        <source>Charge model：</source>
        <translation>充电模式：</translation>
    </message>
    <message>
        <source>Voltage measure(V)：</source>
        <translation>电压测量值(V)：</translation>
    </message>
    <message>
        <source>Current measure(A)：</source>
        <translation>电流测量值(A)：</translation>
    </message>
    <message>
        <source>Max voltage(V)：</source>
        <translation>最高单体电压(V)：</translation>
    </message>
    <message>
        <source>Max voltage num：</source>
        <translation>最高电压组号：</translation>
    </message>
    <message>
        <source>Charge status(%)：</source>
        <translation>荷电状态(%)：</translation>
    </message>
    <message>
        <source>Remain time(min)：</source>
        <translation>剩余时间(min)：</translation>
    </message>
    <message>
        <source>Voltage outout(V)：</source>
        <translation>输出电压(V)：</translation>
    </message>
    <message>
        <source>Current ouput(A)：</source>
        <translation>输出电流(A)：</translation>
    </message>
    <message>
        <source>Total charge time：</source>
        <translation>累计充电时间：</translation>
    </message>
    <message>
        <source>Charge allow：</source>
        <translation>充电允许：</translation>
    </message>
    <message>
        <source>BMS Reason for stopping charging：</source>
        <translation>BMS中止充电原因：</translation>
    </message>
    <message>
        <source>BMS The reason of abort charging fault：</source>
        <translation>BMS中止充电故障原因：</translation>
    </message>
    <message>
        <source>BMS Abort charging error cause：</source>
        <translation>BMS中止充电错误原因：</translation>
    </message>
    <message>
        <source>Reason of the charger stop charging：</source>
        <translation>充电机中止充电原因：</translation>
    </message>
    <message>
        <source>Reason of the charger stop charging fault：</source>
        <translation>充电机中止充电故障原因：</translation>
    </message>
    <message>
        <source>Reasons for charging failure of the charger：</source>
        <translation>充电机中止充电错误原因：</translation>
    </message>
    <message>
        <source>The required SOC target value is not met</source>
        <translation>未达到所需SOC目标值</translation>
    </message>
    <message>
        <source>Achieve the required SOC target values</source>
        <translation>达到所需SOC目标值</translation>
    </message>
    <message>
        <source>SoC target values are not trusted</source>
        <translation>SOC目标值不可信</translation>
    </message>
    <message>
        <source>The total voltage set value is not reached</source>
        <translation>未达到总电压设定值</translation>
    </message>
    <message>
        <source>Reach the total voltage set value</source>
        <translation>达到总电压设定值</translation>
    </message>
    <message>
        <source>The total voltage set value cannot be trusted</source>
        <translation>总电压设定值不可信</translation>
    </message>
    <message>
        <source>The set value of the unit voltage is not reached</source>
        <translation>未达到单体电压设定值</translation>
    </message>
    <message>
        <source>Reaches the set value of the single voltage</source>
        <translation>达到单体电压设定值</translation>
    </message>
    <message>
        <source>The unit voltage set value is not trusted</source>
        <translation>单体电压设定值不可信</translation>
    </message>
    <message>
        <source>The charger stopped normally</source>
        <translation>充电机正常</translation>
    </message>
    <message>
        <source>The charger receives a CST frame abort</source>
        <translation>收到充电机CST帧中止</translation>
    </message>
    <message>
        <source>Charger abort is not credible</source>
        <translation>充电机中止不可信</translation>
    </message>
    <message>
        <source>Insulation is normal</source>
        <translation>绝缘正常</translation>
    </message>
    <message>
        <source>insulation fault </source>
        <translation>绝缘故障</translation>
    </message>
    <message>
        <source>Insulation unreliable</source>
        <translation>绝缘不可信</translation>
    </message>
    <message>
        <source>Output connector temperature is normal</source>
        <translation>输出连接器温度正常</translation>
    </message>
    <message>
        <source>Output connector over-temperature</source>
        <translation>输出连接器过温</translation>
    </message>
    <message>
        <source>Output connector temperature is not trusted</source>
        <translation>输出连接器温度不可信</translation>
    </message>
    <message>
        <source>BMS original, output connector is normal</source>
        <translation>BMS元件、输出连接器正常</translation>
    </message>
    <message>
        <source>BMS original, output connector failure</source>
        <translation>BMS元件、输出连接器故障</translation>
    </message>
    <message>
        <source>BMS original, output connector is not trusted</source>
        <translation>BMS元件、输出连接器不可信</translation>
    </message>
    <message>
        <source>Charging connector is normal</source>
        <translation>充电连接器正常</translation>
    </message>
    <message>
        <source>Charging connector failure</source>
        <translation>充电连接器故障</translation>
    </message>
    <message>
        <source>Charging connector is not trusted</source>
        <translation>充电连接器不可信</translation>
    </message>
    <message>
        <source>Battery pack temperature is normal</source>
        <translation>电池组温度正常</translation>
    </message>
    <message>
        <source>Battery temperature failure</source>
        <translation>电池组温度故障</translation>
    </message>
    <message>
        <source>Battery pack temperature can not be trusted</source>
        <translation>电池组温度不可信</translation>
    </message>
    <message>
        <source>High voltage relay normal</source>
        <translation>高压继电器正常</translation>
    </message>
    <message>
        <source>High voltage relay fault</source>
        <translation>高压继电器故障</translation>
    </message>
    <message>
        <source>High voltage relays can&apos;t be trusted</source>
        <translation>高压继电器不可信</translation>
    </message>
    <message>
        <source>The voltage at monitoring point 2 is normal</source>
        <translation>检测点2电压正常</translation>
    </message>
    <message>
        <source>Voltage failure at monitoring point 2</source>
        <translation>检测点2电压故障</translation>
    </message>
    <message>
        <source>The voltage at monitoring point 2 cannot be trusted</source>
        <translation>检测点2电压不可信</translation>
    </message>
    <message>
        <source>Other normal</source>
        <translation>其他正常</translation>
    </message>
    <message>
        <source>Other fault</source>
        <translation>其他故障</translation>
    </message>
    <message>
        <source>Others are not credible</source>
        <translation>其他不可信</translation>
    </message>
    <message>
        <source>The current normal</source>
        <translation>电流正常</translation>
    </message>
    <message>
        <source>;The current exceeds the demand value</source>
        <translation>;电流超过需求值</translation>
    </message>
    <message>
        <source>;The current cannot be trusted.</source>
        <translation>;电流不可信</translation>
    </message>
    <message>
        <source>;The voltage is normal</source>
        <translation>;电压正常</translation>
    </message>
    <message>
        <source>;Abnormal voltage</source>
        <translation>;电压异常</translation>
    </message>
    <message>
        <source>;Voltage untrustworthy</source>
        <translation>;电压不可信</translation>
    </message>
    <message>
        <source>normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>;Stop when the set condition of the charger is reached</source>
        <translation>;达到充电机设定条件中止</translation>
    </message>
    <message>
        <source>;Reaching the set condition of the charger is not credible</source>
        <translation>;达到充电机设定条件中止不可信</translation>
    </message>
    <message>
        <source>;Artificial suspension</source>
        <translation>;人工中止</translation>
    </message>
    <message>
        <source>;Artificial abort is not trusted</source>
        <translation>;人工中止不可信</translation>
    </message>
    <message>
        <source>;Failure to suspend</source>
        <translation>;故障中止</translation>
    </message>
    <message>
        <source>;Failure abort is not trusted</source>
        <translation>;故障中止不可信</translation>
    </message>
    <message>
        <source>;BMS suspension</source>
        <translation>;BMS中止</translation>
    </message>
    <message>
        <source>;The BMS abort is not trusted</source>
        <translation>;BMS中止不可信</translation>
    </message>
    <message>
        <source>The charger temperature is normal</source>
        <translation>充电机温度正常</translation>
    </message>
    <message>
        <source>;The charger is overheated</source>
        <translation>;充电机过温</translation>
    </message>
    <message>
        <source>;The temperature of the charger is not reliable</source>
        <translation>;充电机温度不可信</translation>
    </message>
    <message>
        <source>The charger is connected properly</source>
        <translation>充电连接器正常</translation>
    </message>
    <message>
        <source>;Charger connector malfunction</source>
        <translation>;充电连接器故障</translation>
    </message>
    <message>
        <source>;Charger connector is not trusted</source>
        <translation>;充电连接器不可信</translation>
    </message>
    <message>
        <source>The internal temperature of the charger is normal</source>
        <translation>充电机内部温度正常</translation>
    </message>
    <message>
        <source>;The internal temperature of the charger is too high</source>
        <translation>;充电机内部过温</translation>
    </message>
    <message>
        <source>;The internal temperature of the charger cannot be trusted</source>
        <translation>;充电机内部温度不可信</translation>
    </message>
    <message>
        <source>Power transfer normal</source>
        <translation>电量传送正常</translation>
    </message>
    <message>
        <source>;Power cannot be transferred</source>
        <translation>;所需电量不能传送</translation>
    </message>
    <message>
        <source>;The amount of electricity required is not credible</source>
        <translation>;所需电量传送不可信</translation>
    </message>
    <message>
        <source>;The charger stopped abruptly</source>
        <translation>;充电机急停</translation>
    </message>
    <message>
        <source>;The sudden stop of the charger is not credible</source>
        <translation>;充电机急停不可信</translation>
    </message>
    <message>
        <source>;Other fault</source>
        <translation>;其他故障</translation>
    </message>
    <message>
        <source>;Others are not credible</source>
        <translation>;其他不可信</translation>
    </message>
    <message>
        <source>The current matching</source>
        <translation>电流匹配</translation>
    </message>
    <message>
        <source>;Current mismatch</source>
        <translation>;电流不匹配</translation>
    </message>
    <message>
        <source>;The current cannot be trusted</source>
        <translation>;电流不可信</translation>
    </message>
    <message>
        <source>Constant voltage charge</source>
        <translation>恒压充电</translation>
    </message>
    <message>
        <source>Constant current charge</source>
        <translation>恒流充电</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>允许</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
</context>
<context>
    <name>DBCDataWidget</name>
    <message>
        <source>DBC File data</source>
        <translation>DBC文件数据</translation>
    </message>
    <message>
        <source>Message list：</source>
        <translation>报文列表：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Num</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>备注</translation>
    </message>
</context>
<context>
    <name>DBCSendWidget</name>
    <message>
        <source>DBCSendWidget</source>
        <translation>DBC发送</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Transmission direction</source>
        <translation>传输方向</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Source address</source>
        <translation>源地址</translation>
    </message>
    <message>
        <source>Destination address</source>
        <translation>目标地址</translation>
    </message>
    <message>
        <source>Frame type</source>
        <translation>帧类型</translation>
    </message>
    <message>
        <source>Frame format</source>
        <translation>帧格式</translation>
    </message>
    <message>
        <source>Data lenght</source>
        <translation>数据长度</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>数据</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>Send type：</source>
        <translation>发送方式：</translation>
    </message>
    <message>
        <source>Send interval(ms)：</source>
        <translation>发送间隔(ms)：</translation>
    </message>
    <message>
        <source>Frequency：</source>
        <translation>发送次数：</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Normal Send</source>
        <translation>正常发送</translation>
    </message>
    <message>
        <source>Single Send</source>
        <translation>单次发送</translation>
    </message>
    <message>
        <source>Send &amp; Receive</source>
        <translation>自发自收</translation>
    </message>
    <message>
        <source>Single Send&amp;Rec</source>
        <translation>单次自发自收</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>范围</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The value is outside the range of the signal and was set to %1.</source>
        <translation>数值超出信号范围，已设为%1。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number; the signal keeps its value %2.</source>
        <translation>“%1”不是数字，信号保持原值%2。</translation>
    </message>
    <message>
        <source>A message of more than 8 bytes cannot be sent as one frame.</source>
        <translation>超过8字节的报文不能作为一帧发送。</translation>
    </message>
    <message>
        <source>Nothing was sent: the frequency is empty.</source>
        <translation>未发送：发送次数为空。</translation>
    </message>
    <message>
        <source>Send successfully </source>
        <translation>发送成功 </translation>
    </message>
    <message>
        <source>Fail to send</source>
        <translation>发送失败</translation>
    </message>
</context>
<context>
    <name>DBCWidget</name>
    <message>
        <source>Frame Parsing - Unloaded DBC File</source>
        <translation>帧解析 - 未加载DBC文件</translation>
    </message>
    <message>
        <source>Load DBC</source>
        <translation>加载DBC</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>ID list</source>
        <translation>ID列表</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Pause or start parsing frames</source>
        <translation>暂停或开始解析帧</translation>
    </message>
    <message>
        <source>Display type：</source>
        <translation>显示方式：</translation>
    </message>
    <message>
        <source>Classified display</source>
        <translation>分类显示</translation>
    </message>
    <message>
        <source>Scroll display</source>
        <translation>滚动显示</translation>
    </message>
    <message>
        <source>Protocol Type：</source>
        <translation>协议类型：</translation>
    </message>
    <message>
        <source>Read file</source>
        <translation>读取文件</translation>
    </message>
    <message>
        <source>Num</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Transmission direction</source>
        <translation>传输方向</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>PGN</source>
        <translation>PGN</translation>
    </message>
    <message>
        <source>Source address</source>
        <translation>源地址</translation>
    </message>
    <message>
        <source>Destination address</source>
        <translation>目标地址</translation>
    </message>
    <message>
        <source>Frame type</source>
        <translation>帧类型</translation>
    </message>
    <message>
        <source>Frame format</source>
        <translation>帧格式</translation>
    </message>
    <message>
        <source>Data lenght</source>
        <translation>数据长度</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>数据</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>Standard frame</source>
        <translation>标准帧</translation>
    </message>
    <message>
        <source>Extended frame</source>
        <translation>扩展帧</translation>
    </message>
    <message>
        <source>Data frame</source>
        <translation>数据帧</translation>
    </message>
    <message>
        <source>Remote frame</source>
        <translation>远程帧</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Open DBC File</source>
        <translation>打开DBC文件</translation>
    </message>
    <message>
        <source>DBC File(*.dbc)</source>
        <translation>DBC文件(*.dbc)</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Error parsing DBC file</source>
        <translation>解析DBC文件出错</translation>
    </message>
    <message>
        <source>Parsing stopped at line %1, column %2.</source>
        <translation>解析停止于第 %1 行第 %2 列。</translation>
    </message>
    <message>
        <source>Load successful</source>
        <translation>加载成功</translation>
    </message>
    <message>
        <source>Exceeding size</source>
        <translation>超出长度</translation>
    </message>
    <message>
        <source>Warm</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Signal name</source>
        <translation>信号名称</translation>
    </message>
    <message>
        <source>Actual value</source>
        <translation>实际值</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <source>Original value</source>
        <translation>原始值</translation>
    </message>
    <message>
        <source>Initial position</source>
        <translation>起始位置</translation>
    </message>
    <message>
        <source>Bit width</source>
        <translation>位宽</translation>
    </message>
    <message>
        <source>Proportion</source>
        <translation>比例</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>偏移</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>注释</translation>
    </message>
    <message>
        <source>Stop read</source>
        <translation>停止读取</translation>
    </message>
    <message>
        <source>Data is empty</source>
        <translation>数据为空</translation>
    </message>
    <message>
        <source>Save CSV file</source>
        <translation>保存CSV文件</translation>
    </message>
    <message>
        <source>CSV File(*.csv)</source>
        <translation>CSV文件(*.csv)</translation>
    </message>
    <message>
        <source>Failed to open file</source>
        <translation>打开文件失败</translation>
    </message>
    <message>
        <source>Save successful</source>
        <translation>保存成功</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>ASC File(*.asc);;CSV File(*.csv)</source>
        <translation>ASC文件(*.asc);;CSV文件(*.csv)</translation>
    </message>
    <message>
        <source>Failed to read file: %1</source>
        <translation>读取文件失败：%1</translation>
    </message>
    <message>
        <source>Hit</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>End of reading.</source>
        <translation>读取结束。</translation>
    </message>
    <message>
        <source>Messages not decoded:</source>
        <translation>未解析的报文：</translation>
    </message>
    <message>
        <source>%1 (%2): bit 29 or 30 is set, no CAN frame has this ID</source>
        <translation>%1 (%2)：第 29 或 30 位被置位，没有 CAN 帧使用此 ID</translation>
    </message>
    <message>
        <source>%1 (%2): its frames are decoded as %3 (%4)</source>
        <translation>%1 (%2)：其帧按 %3 (%4) 解析</translation>
    </message>
</context>
<context>
    <name>ErrorInfoWidget</name>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Bit error</source>
        <translation>位错误</translation>
    </message>
    <message>
        <source>Formal error</source>
        <translation>格式错误</translation>
    </message>
    <message>
        <source>Stuff error</source>
        <translation>填充错误</translation>
    </message>
    <message>
        <source>Other type of error</source>
        <translation>其他错误</translation>
    </message>
    <message>
        <source>start of frame</source>
        <translation>帧起始</translation>
    </message>
    <message>
        <source>CRC sequence</source>
        <translation>CRC 序列</translation>
    </message>
    <message>
        <source>reserved bit 0</source>
        <translation>保留位 0</translation>
    </message>
    <message>
        <source>data field</source>
        <translation>数据场</translation>
    </message>
    <message>
        <source>data length code</source>
        <translation>数据长度码</translation>
    </message>
    <message>
        <source>reserved bit 1</source>
        <translation>保留位 1</translation>
    </message>
    <message>
        <source>active error flag</source>
        <translation>主动错误标志</translation>
    </message>
    <message>
        <source>intermission</source>
        <translation>帧间隔</translation>
    </message>
    <message>
        <source>tolerate dominant bits</source>
        <translation>容许显性位</translation>
    </message>
    <message>
        <source>passive error flag</source>
        <translation>被动错误标志</translation>
    </message>
    <message>
        <source>error delimiter</source>
        <translation>错误界定符</translation>
    </message>
    <message>
        <source>CRC delimiter</source>
        <translation>CRC 界定符</translation>
    </message>
    <message>
        <source>acknowledge slot</source>
        <translation>应答间隙</translation>
    </message>
    <message>
        <source>end of frame</source>
        <translation>帧结束</translation>
    </message>
    <message>
        <source>acknowledge delimiter</source>
        <translation>应答界定符</translation>
    </message>
    <message>
        <source>overload flag</source>
        <translation>过载标志</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>Recv</source>
        <translation>接收</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>error type:</source>
        <translation>错误类型：</translation>
    </message>
    <message>
        <source>Error direction:</source>
        <translation>错误方向：</translation>
    </message>
    <message>
        <source>Error position:</source>
        <translation>错误位置：</translation>
    </message>
    <message>
        <source>Arbitration is lost in the identifier&apos;s bit</source>
        <translation>仲裁丢失于标识符位</translation>
    </message>
    <message>
        <source>Arbitration is lost in the SRTR bit</source>
        <translation>仲裁丢失于 SRTR 位</translation>
    </message>
    <message>
        <source>Arbitration is lost in the IDE bit</source>
        <translation>仲裁丢失于 IDE 位</translation>
    </message>
    <message>
        <source>Arbitration is lost in the RTR bit</source>
        <translation>仲裁丢失于 RTR 位</translation>
    </message>
    <message>
        <source>No error</source>
        <translation>无错误</translation>
    </message>
    <message>
        <source>Bit stuffing error</source>
        <translation>位填充错误</translation>
    </message>
    <message>
        <source>ACK error</source>
        <translation>应答错误</translation>
    </message>
    <message>
        <source>The recessive dislocation</source>
        <translation>隐性位错误</translation>
    </message>
    <message>
        <source>Dominant dislocation</source>
        <translation>显性位错误</translation>
    </message>
    <message>
        <source>CRC error</source>
        <translation>CRC 错误</translation>
    </message>
    <message>
        <source>CAN Controller internal FIFO overflow</source>
        <translation>CAN 控制器内部 FIFO 溢出</translation>
    </message>
    <message>
        <source>CAN Controller error warning</source>
        <translation>CAN 控制器错误报警</translation>
    </message>
    <message>
        <source>CAN Controller negative error</source>
        <translation>CAN 控制器消极错误</translation>
    </message>
    <message>
        <source>CAN Controller arbitration missing</source>
        <translation>CAN 控制器仲裁丢失</translation>
    </message>
    <message>
        <source>CAN Controller bus error</source>
        <translation>CAN 控制器总线错误</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Error Type</source>
        <translation>错误类型</translation>
    </message>
    <message>
        <source>TEC/REC</source>
        <translation>发送/接收错误计数</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
</context>
<context>
    <name>GBT27931Widget</name>
    <message>
        <source>GBT27930-2015 Protocol Resolution</source>
        <translation>GBT27930-2015协议解析</translation>
    </message>
    <message>
        <source>Remaining time：</source>
        <translation>剩余时间：</translation>
    </message>
    <message>
        <source>Current state：</source>
        <translation>当前状态：</translation>
    </message>
    <message>
        <source>Charge handshake</source>
        <translation>充电握手</translation>
    </message>
    <message>
        <source>Charge param config</source>
        <translation>充电参数配置</translation>
    </message>
    <message>
        <source>Charging</source>
        <translation>充电阶段</translation>
    </message>
    <message>
        <source>Charging end</source>
        <translation>充电结束</translation>
    </message>
    <message>
        <source>Minor parameter</source>
        <translation>次要参数</translation>
    </message>
    <message>
        <source>Monomer voltage</source>
        <translation>单体电压</translation>
    </message>
    <message>
        <source>Monomer temperature</source>
        <translation>单体温度</translation>
    </message>
    <message>
        <source>Error message</source>
        <translation>错误报文</translation>
    </message>
    <message>
        <source>End of charging</source>
        <translation>充电结束</translation>
    </message>
    <message>
        <source>Charging failure</source>
        <translation>充电失败</translation>
    </message>
    <message>
        <source>Charging</source>
        <comment>status line</comment>
        <translation>正在充电</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>电压</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>电流</translation>
    </message>
</context>
<context>
    <name>IdFilterXmlReader</name>
    <message>
        <source>The file is not an XBEL version 1.0 file.</source>
        <translation>该文件不是 1.0 版的过滤列表文件。</translation>
    </message>
    <message>
        <source>The filter mode %1 is not 0, 1 or 2.</source>
        <translation>过滤模式 %1 无效，只能是 0、1 或 2。</translation>
    </message>
    <message>
        <source>%1
Line %2, column %3</source>
        <translation>%1
第 %2 行，第 %3 列</translation>
    </message>
    <message>
        <source>The file is larger than %1 MB.</source>
        <translation>文件大于 %1 MB。</translation>
    </message>
    <message>
        <source>The file holds more than %1 rules.</source>
        <translation>文件中的规则多于 %1 条。</translation>
    </message>
    <message>
        <source>The rule&apos;s %1 &quot;%2&quot; is not a hexadecimal ID from 0 to 1FFFFFFF.</source>
        <translation>规则的 %1 “%2” 不是 0 到 1FFFFFFF 之间的十六进制ID。</translation>
    </message>
    <message>
        <source>The rule&apos;s LowID %1 is above its HighID %2.</source>
        <translation>规则的起始ID %1 大于结束ID %2。</translation>
    </message>
</context>
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
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Open device failed.</source>
        <translation>打开设备失败。</translation>
    </message>
    <message>
        <source>Please close the DBC replay dialog box first</source>
        <translation>请先关闭DBC回放窗口</translation>
    </message>
    <message>
        <source>Please close the bus state dialog box first</source>
        <translation>请先关闭总线状态窗口</translation>
    </message>
    <message>
        <source>Please close the DBC dialog box first</source>
        <translation>请先关闭DBC窗口</translation>
    </message>
    <message>
        <source>Please close the charging pile dialog box first</source>
        <translation>请先关闭充电桩窗口</translation>
    </message>
    <message>
        <source>Please stop sending data first</source>
        <translation>请先停止发送数据</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
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
    <name>MinorParameterWidget</name>
    <message>
        <source>Max battery voltage number：</source>
        <translation>最高单体电压编号：</translation>
    </message>
    <message>
        <source>Max battery temperature(℃)：</source>
        <translation>最高动力蓄电池温度(℃)：</translation>
    </message>
    <message>
        <source>Max temperature test point number：</source>
        <translation>最高温度检测点编号：</translation>
    </message>
    <message>
        <source>Min battery temperature(℃)：</source>
        <translation>最低动力蓄电池温度(℃)：</translation>
    </message>
    <message>
        <source>Min battery temperature testpoint number：</source>
        <translation>最低温度检测点编号：</translation>
    </message>
    <message>
        <source>Single voltage state：</source>
        <translation>单体电压状态：</translation>
    </message>
    <message>
        <source>Charged state(SOC)：</source>
        <translation>荷电状态(SOC)：</translation>
    </message>
    <message>
        <source>Charging current state：</source>
        <translation>充电电流状态：</translation>
    </message>
    <message>
        <source>Battery temperature state：</source>
        <translation>电池温度状态：</translation>
    </message>
    <message>
        <source>Battery insulation state：</source>
        <translation>电池绝缘状态：</translation>
    </message>
    <message>
        <source>Output connector status：</source>
        <translation>输出连接器状态：</translation>
    </message>
    <message>
        <source>Whether charging is allowed：</source>
        <translation>是否允许充电：</translation>
    </message>
</context>
<context>
    <name>MonomerTemperatureWidget</name>
    <message>
        <source>Num</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Sampling point</source>
        <translation>采样点</translation>
    </message>
    <message>
        <source>Temperature(℃)</source>
        <translation>温度(℃)</translation>
    </message>
</context>
<context>
    <name>MonomerVoltageWidget</name>
    <message>
        <source>Num</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Group number</source>
        <translation>组号</translation>
    </message>
    <message>
        <source>Voltage(V)</source>
        <translation>电压(V)</translation>
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
    <name>TaskListFile</name>
    <message>
        <source>The file is larger than %1 MB.</source>
        <translation>文件大于 %1 MB。</translation>
    </message>
    <message>
        <source>The file holds more than %1 tasks.</source>
        <translation>文件中的任务多于 %1 条。</translation>
    </message>
</context>
<context>
    <name>UiAboutDlg</name>
    <message>
        <source>About Merovast</source>
        <translation>关于 Merovast</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>https://merovast.example</source>
        <translation>https://merovast.example</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Copyright © %1 The Merovast project</source>
        <translation>版权所有 © %1 Merovast 项目</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>保留所有权利。</translation>
    </message>
    <message>
        <source>website</source>
        <translation>网站</translation>
    </message>
</context>
<context>
    <name>UiAutoProbing</name>
    <message>
        <source>Automatic Detection</source>
        <translation>波特率自动识别</translation>
    </message>
    <message>
        <source>Baud rate range:</source>
        <translation>波特率范围：</translation>
    </message>
    <message>
        <source>waiting time:</source>
        <translation>等待时间：</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The Range of Sampling Interval is 50 - 1000</source>
        <translation>等待时间的范围为 50 - 1000 毫秒</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>error code = %1</source>
        <translation>错误代码 = %1</translation>
    </message>
    <message>
        <source>BitRate(kbps)</source>
        <translation>波特率(kbps)</translation>
    </message>
    <message>
        <source>BTR0</source>
        <translation>定时器0</translation>
    </message>
    <message>
        <source>BTR1</source>
        <translation>定时器1</translation>
    </message>
    <message>
        <source>Sample point</source>
        <translation>采样点</translation>
    </message>
    <message>
        <source>Remark</source>
        <translation>备注</translation>
    </message>
</context>
<context>
    <name>UiBufferSetting</name>
    <message>
        <source>Data List Setting</source>
        <translation>数据列表设置</translation>
    </message>
    <message>
        <source>Buffer Size:</source>
        <translation>缓冲区大小：</translation>
    </message>
    <message>
        <source>Refresh Cycle(ms):</source>
        <translation>刷新周期(ms)：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>UiBusStatus</name>
    <message>
        <source>BusStatus</source>
        <translation>总线状态</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>通道</translation>
    </message>
</context>
<context>
    <name>UiCanObjListWidget</name>
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
        <source>Alias</source>
        <translation>别名</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>帧ID</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>帧类型</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>帧格式</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>数据长度</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>数据</translation>
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
    <message>
        <source>Id(Align Left)</source>
        <translation>帧ID(左对齐)</translation>
    </message>
    <message>
        <source>Id(Align Right)</source>
        <translation>帧ID(右对齐)</translation>
    </message>
    <message>
        <source>Data(DEC)</source>
        <translation>数据(十进制)</translation>
    </message>
    <message>
        <source>Find ID</source>
        <translation>查找 ID</translation>
    </message>
    <message>
        <source>Add to Send</source>
        <translation>添加到发送</translation>
    </message>
    <message>
        <source>Add to List</source>
        <translation>添加到列表</translation>
    </message>
    <message>
        <source>NameSetting</source>
        <translation>名称设置</translation>
    </message>
    <message>
        <source>Hit</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>No matching ID was found.</source>
        <translation>没有找到匹配的 ID。</translation>
    </message>
</context>
<context>
    <name>UiDevPage</name>
    <message>
        <source>Form</source>
        <translation>通道参数</translation>
    </message>
    <message>
        <source>AccCode:0x</source>
        <translation>验收码：0x</translation>
    </message>
    <message>
        <source>MaskCode:0x</source>
        <translation>屏蔽码：0x</translation>
    </message>
    <message>
        <source>Baudrate:</source>
        <translation>波特率：</translation>
    </message>
    <message>
        <source>BTR0:0x</source>
        <translation>定时器0：0x</translation>
    </message>
    <message>
        <source>BTR1:0x</source>
        <translation>定时器1：0x</translation>
    </message>
    <message>
        <source>Filter:</source>
        <translation>滤波方式：</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>工作模式：</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动识别</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>自定义</translation>
    </message>
    <message>
        <source>5kbps</source>
        <translation>5kbps</translation>
    </message>
    <message>
        <source>10kbps</source>
        <translation>10kbps</translation>
    </message>
    <message>
        <source>20kbps</source>
        <translation>20kbps</translation>
    </message>
    <message>
        <source>40kbps</source>
        <translation>40kbps</translation>
    </message>
    <message>
        <source>50kbps</source>
        <translation>50kbps</translation>
    </message>
    <message>
        <source>80kbps</source>
        <translation>80kbps</translation>
    </message>
    <message>
        <source>100kbps</source>
        <translation>100kbps</translation>
    </message>
    <message>
        <source>125kbps</source>
        <translation>125kbps</translation>
    </message>
    <message>
        <source>200kbps</source>
        <translation>200kbps</translation>
    </message>
    <message>
        <source>250kbps</source>
        <translation>250kbps</translation>
    </message>
    <message>
        <source>400kbps</source>
        <translation>400kbps</translation>
    </message>
    <message>
        <source>500kbps</source>
        <translation>500kbps</translation>
    </message>
    <message>
        <source>666kbps</source>
        <translation>666kbps</translation>
    </message>
    <message>
        <source>800kbps</source>
        <translation>800kbps</translation>
    </message>
    <message>
        <source>1000kbps</source>
        <translation>1000kbps</translation>
    </message>
    <message>
        <source>DualFilter</source>
        <translation>双滤波</translation>
    </message>
    <message>
        <source>SingleFilter</source>
        <translation>单滤波</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>ReadOnly</source>
        <translation>只听</translation>
    </message>
</context>
<context>
    <name>UiDeviceInfoDlg</name>
    <message>
        <source>Device Information</source>
        <translation>设备信息</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>&lt;div align=&quot;left&quot;&gt;&lt;p&gt;%1:%2&lt;/p&gt;&lt;/div&gt;&lt;div align=&quot;left&quot;&gt;&lt;p&gt;%3:%4&lt;/p&gt;&lt;/div&gt;&lt;div align=&quot;left&quot;&gt;&lt;p&gt;%5:%6&lt;/p&gt;&lt;/div&gt;&lt;div align=&quot;left&quot;&gt;&lt;p&gt;%7:%8&lt;/p&gt;&lt;/div&gt;&lt;div align=&quot;left&quot;&gt;&lt;p&gt;%9:%10&lt;/p&gt;&lt;/div&gt;</source>
        <translation>&lt;div align=&quot;left&quot;&gt;&lt;p&gt;%1：%2&lt;/p&gt;&lt;/div&gt;&lt;div align=&quot;left&quot;&gt;&lt;p&gt;%3：%4&lt;/p&gt;&lt;/div&gt;&lt;div align=&quot;left&quot;&gt;&lt;p&gt;%5：%6&lt;/p&gt;&lt;/div&gt;&lt;div align=&quot;left&quot;&gt;&lt;p&gt;%7：%8&lt;/p&gt;&lt;/div&gt;&lt;div align=&quot;left&quot;&gt;&lt;p&gt;%9：%10&lt;/p&gt;&lt;/div&gt;</translation>
    </message>
    <message>
        <source>Hardware Version</source>
        <translation>硬件版本</translation>
    </message>
    <message>
        <source>Firmware Version</source>
        <translation>固件版本</translation>
    </message>
    <message>
        <source>CAN Channels</source>
        <translation>CAN 通道数</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Product Type</source>
        <translation>产品型号</translation>
    </message>
</context>
<context>
    <name>UiFindID</name>
    <message>
        <source>Search</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>UP</source>
        <translation>向上</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>向下</translation>
    </message>
    <message>
        <source>Find ID:</source>
        <translation>查找 ID：</translation>
    </message>
    <message>
        <source>Input ID</source>
        <translation>输入 ID</translation>
    </message>
    <message>
        <source>total quantity :</source>
        <translation>匹配数量：</translation>
    </message>
</context>
<context>
    <name>UiFirmwareProgressDlg</name>
    <message>
        <source>Firmware</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>Filename:</source>
        <translation>文件名：</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>%1 %2(*.bin)</source>
        <translation>%1%2(*.bin)</translation>
    </message>
    <message>
        <source>Bin</source>
        <translation>固件</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>Cannot read file</source>
        <translation>无法读取文件</translation>
    </message>
    <message>
        <source>Send failed.</source>
        <translation>发送失败。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>%1,%3.</source>
        <translation>%1，%3。</translation>
    </message>
    <message>
        <source>No file name specified</source>
        <translation>未指定文件名</translation>
    </message>
    <message>
        <source>%1 %2,
%3</source>
        <translation>%1 %2，
%3</translation>
    </message>
</context>
<context>
    <name>UiGotoLineDlg</name>
    <message>
        <source>Goto</source>
        <translation>定位</translation>
    </message>
    <message>
        <source>Line Number(1 - %1):</source>
        <translation>行号(1 - %1)：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>UiIdFilterSetting</name>
    <message>
        <source>ID Filter Setting</source>
        <translation>ID 过滤设置</translation>
    </message>
    <message>
        <source>Current Mode:</source>
        <translation>当前模式：</translation>
    </message>
    <message>
        <source>From Low(HEX):</source>
        <translation>起始 ID(HEX)：</translation>
    </message>
    <message>
        <source>To High(HEX):</source>
        <translation>结束 ID(HEX)：</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>加载</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>禁用</translation>
    </message>
    <message>
        <source>Not receive IDs</source>
        <translation>不接收以下 ID</translation>
    </message>
    <message>
        <source>Only receive IDs</source>
        <translation>只接收以下 ID</translation>
    </message>
    <message>
        <source>No</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Low(Hex)</source>
        <translation>起始 ID(HEX)</translation>
    </message>
    <message>
        <source>High(Hex)</source>
        <translation>结束 ID(HEX)</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>When the list is empty, that receives all ID.</source>
        <translation>列表为空时，接收所有 ID。</translation>
    </message>
    <message>
        <source>When the list is empty, that it would not receive any ID.</source>
        <translation>列表为空时，不接收任何 ID。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>%1 %2:
%3.</source>
        <translation>%1 %2：
%3。</translation>
    </message>
    <message>
        <source>Cannot write file</source>
        <translation>无法写入文件</translation>
    </message>
    <message>
        <source>Filter(*.filter)</source>
        <translation>过滤列表(*.filter)</translation>
    </message>
    <message>
        <source>Cannot read file</source>
        <translation>无法读取文件</translation>
    </message>
    <message>
        <source>%1 %2:

%3</source>
        <translation>%1 %2：

%3</translation>
    </message>
    <message>
        <source>Parse error in file</source>
        <translation>文件解析错误</translation>
    </message>
    <message>
        <source>File refused</source>
        <translation>拒绝载入文件</translation>
    </message>
</context>
<context>
    <name>UiIdFormatSetting</name>
    <message>
        <source>ID Format Setting</source>
        <translation>ID 格式设置</translation>
    </message>
    <message>
        <source>Align Right(Real ID)</source>
        <translation>右对齐(实际 ID)</translation>
    </message>
    <message>
        <source>Align Left(SJA1000 Compat ID)</source>
        <translation>左对齐(兼容 SJA1000 的 ID)</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>UiMdiChildCanGen</name>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>Please close the DBC dialog box first</source>
        <translation>请先关闭DBC窗口</translation>
    </message>
    <message>
        <source>Please close the charging pile dialog box first</source>
        <translation>请先关闭充电桩窗口</translation>
    </message>
    <message>
        <source>Please stop sending data first</source>
        <translation>请先停止发送数据</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Start device failed.</source>
        <translation>启动设备失败。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>%1 %2,
%3</source>
        <translation>%1 %2，
%3</translation>
    </message>
    <message>
        <source>Cannot write file</source>
        <translation>无法写入文件</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Unknown file type: save as .can, .csv or .asc.</source>
        <translation>不支持的文件类型：请保存为 .can、.csv 或 .asc 文件。</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>open file error!</source>
        <translation>打开文件出错！</translation>
    </message>
    <message>
        <source>Send failed.</source>
        <translation>发送失败。</translation>
    </message>
    <message>
        <source>Frame ID exceeded. Standard Frame ID&apos;s valid value is 0 - 0x7ff, Extend Frame ID&apos;s valid value is 0 - 0x1fffffff.</source>
        <translation>帧ID超出范围。标准帧ID的有效值为 0 - 0x7ff，扩展帧ID的有效值为 0 - 0x1fffffff。</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Saving in real time cannot keep up with the bus: %1 frames were not written to %2. The recording goes on.</source>
        <translation>实时保存跟不上总线：%1 帧未写入 %2。记录仍在继续。</translation>
    </message>
    <message>
        <source>Saving in real time: %1 frames not saved</source>
        <translation>实时保存：%1 帧未保存</translation>
    </message>
</context>
<context>
    <name>UiMdiChildTools</name>
    <message>
        <source>DBC</source>
        <translation>DBC</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Goto</source>
        <translation>定位</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>过滤</translation>
    </message>
    <message>
        <source>Time Show</source>
        <translation>时间显示</translation>
    </message>
    <message>
        <source>Show Type</source>
        <translation>显示格式</translation>
    </message>
    <message>
        <source>Send Frame Display</source>
        <translation>发送帧显示</translation>
    </message>
    <message>
        <source>Save in realtime</source>
        <translation>实时保存</translation>
    </message>
    <message>
        <source>Stop save</source>
        <translation>停止保存</translation>
    </message>
    <message>
        <source>Clock Time</source>
        <translation>时钟时间</translation>
    </message>
    <message>
        <source>Comparative Time</source>
        <translation>相对时间</translation>
    </message>
    <message>
        <source>HEX Time</source>
        <translation>十六进制时间</translation>
    </message>
    <message>
        <source>Normal Time</source>
        <translation>常规时间</translation>
    </message>
    <message>
        <source>DEC</source>
        <translation>十进制</translation>
    </message>
    <message>
        <source>HEX</source>
        <translation>十六进制</translation>
    </message>
    <message>
        <source>ASC</source>
        <translation>字符</translation>
    </message>
    <message>
        <source>BIN</source>
        <translation>二进制</translation>
    </message>
    <message>
        <source>Hide Send Frame</source>
        <translation>隐藏发送帧</translation>
    </message>
    <message>
        <source>Show Send Frame</source>
        <translation>显示发送帧</translation>
    </message>
</context>
<context>
    <name>UiMessage</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>... and %1 more.</source>
        <translation>……另有 %1 条。</translation>
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
    <name>UiNameSetting</name>
    <message>
        <source>Name Setting</source>
        <translation>名称设置</translation>
    </message>
    <message>
        <source>Note: no Spaces between names</source>
        <translation>注意：名称中不要有空格</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Id(HEX)</source>
        <translation>ID(HEX)</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Rows %1 were not stored: an ID is a hexadecimal number from 0 to 1FFFFFFF.</source>
        <translation>第 %1 行未保存：ID 须为 0 到 1FFFFFFF 之间的十六进制数。</translation>
    </message>
    <message>
        <source>Failed to open file</source>
        <translation>打开文件失败：</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>%1 %2,
%3</source>
        <translation>%1 %2，
%3</translation>
    </message>
    <message>
        <source>Cannot write file</source>
        <translation>无法写入文件</translation>
    </message>
    <message>
        <source>Save successfully</source>
        <translation>保存成功</translation>
    </message>
    <message>
        <source>Content is empty</source>
        <translation>内容为空</translation>
    </message>
    <message>
        <source>Save file</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB; nothing was imported.</source>
        <translation>%1 大于 %2 MB，未导入任何内容。</translation>
    </message>
    <message>
        <source>%1 holds more than %2 lines; nothing was imported.</source>
        <translation>%1 多于 %2 行，未导入任何内容。</translation>
    </message>
    <message>
        <source>%1 lines were skipped: each line must be a hexadecimal ID from 0 to 1FFFFFFF, a comma and a name.</source>
        <translation>已跳过 %1 行：每行须为 0 到 1FFFFFFF 之间的十六进制ID、一个逗号和一个名称。</translation>
    </message>
</context>
<context>
    <name>UiOpenDevice</name>
    <message>
        <source>Open Device</source>
        <translation>打开设备</translation>
    </message>
    <message>
        <source>   Device:</source>
        <translation>   设备类型：</translation>
    </message>
    <message>
        <source>    Index:</source>
        <translation>    索引号：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>UiSaveProgressDlg</name>
    <message>
        <source>Saving</source>
        <translation>正在保存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Save successfully</source>
        <translation>保存成功</translation>
    </message>
    <message>
        <source>Save cancelled</source>
        <translation>已取消保存</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>%1 %2,
%3</source>
        <translation>%1 %2，
%3</translation>
    </message>
    <message>
        <source>Cannot write file</source>
        <translation>无法写入文件</translation>
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
    <name>UiTabSend</name>
    <message>
        <source>Base</source>
        <translation>基本发送</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>任务发送</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件发送</translation>
    </message>
    <message>
        <source>ErrorInfo</source>
        <translation>错误信息</translation>
    </message>
    <message>
        <source>UiTabSend</source>
        <translation>UiTabSend</translation>
    </message>
</context>
<context>
    <name>UiTabSendBasePage</name>
    <message>
        <source>Type:</source>
        <translation>帧类型：</translation>
    </message>
    <message>
        <source>Data Frame</source>
        <translation>数据帧</translation>
    </message>
    <message>
        <source>Remote Frame</source>
        <translation>远程帧</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>帧格式：</translation>
    </message>
    <message>
        <source>Standard Frame</source>
        <translation>标准帧</translation>
    </message>
    <message>
        <source>Extend Frame</source>
        <translation>扩展帧</translation>
    </message>
    <message>
        <source>Send Mode:</source>
        <translation>发送方式：</translation>
    </message>
    <message>
        <source>Normal Send</source>
        <translation>正常发送</translation>
    </message>
    <message>
        <source>Single Send</source>
        <translation>单次发送</translation>
    </message>
    <message>
        <source>Send &amp; Receive</source>
        <translation>自发自收</translation>
    </message>
    <message>
        <source>Single Send&amp;Rec</source>
        <translation>单次自发自收</translation>
    </message>
    <message>
        <source>Frames:</source>
        <translation>每次帧数：</translation>
    </message>
    <message>
        <source>  Interval(ms):</source>
        <translation>  发送间隔(ms)：</translation>
    </message>
    <message>
        <source>Send Times:</source>
        <translation>发送总数：</translation>
    </message>
    <message>
        <source>ID(Hex):</source>
        <translation>帧ID(Hex)：</translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation>固定</translation>
    </message>
    <message>
        <source>Increase</source>
        <translation>递增</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Data(Hex):</source>
        <translation>数据(Hex)：</translation>
    </message>
    <message>
        <source>Data 0 Increase</source>
        <translation>数据0递增</translation>
    </message>
    <message>
        <source>Data 1 Increase</source>
        <translation>数据1递增</translation>
    </message>
    <message>
        <source>Data 2 Increase</source>
        <translation>数据2递增</translation>
    </message>
    <message>
        <source>Data 3 Increase</source>
        <translation>数据3递增</translation>
    </message>
    <message>
        <source>Data 4 Increase</source>
        <translation>数据4递增</translation>
    </message>
    <message>
        <source>Data 5 Increase</source>
        <translation>数据5递增</translation>
    </message>
    <message>
        <source>Data 6 Increase</source>
        <translation>数据6递增</translation>
    </message>
    <message>
        <source>Data 7 Increase</source>
        <translation>数据7递增</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
</context>
<context>
    <name>UiTabSendFilePage</name>
    <message>
        <source>ID(Hex):</source>
        <translation>帧ID(Hex)：</translation>
    </message>
    <message>
        <source>Frames:</source>
        <translation>帧数：</translation>
    </message>
    <message>
        <source>  Interval(ms):</source>
        <translation>  发送间隔(ms)：</translation>
    </message>
    <message>
        <source>frequency</source>
        <translation>发送次数</translation>
    </message>
    <message>
        <source>once</source>
        <translation>单次</translation>
    </message>
    <message>
        <source>circulation</source>
        <translation>循环</translation>
    </message>
    <message>
        <source>repeatedly</source>
        <translation>多次</translation>
    </message>
    <message>
        <source>Filename:</source>
        <translation>文件名：</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>File Type:</source>
        <translation>文件类型：</translation>
    </message>
    <message>
        <source>Common File</source>
        <translation>普通文件</translation>
    </message>
    <message>
        <source>CSV File</source>
        <translation>CSV文件</translation>
    </message>
    <message>
        <source>ASC File</source>
        <translation>ASC文件</translation>
    </message>
    <message>
        <source>CAN File</source>
        <translation>CAN文件</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>帧格式：</translation>
    </message>
    <message>
        <source>Standard Frame</source>
        <translation>标准帧</translation>
    </message>
    <message>
        <source>Extend Frame</source>
        <translation>扩展帧</translation>
    </message>
    <message>
        <source>Send Mode:</source>
        <translation>发送方式：</translation>
    </message>
    <message>
        <source>Normal Send</source>
        <translation>正常发送</translation>
    </message>
    <message>
        <source>Single Send</source>
        <translation>单次发送</translation>
    </message>
    <message>
        <source>Send &amp; Receive</source>
        <translation>自发自收</translation>
    </message>
    <message>
        <source>Single Send&amp;Rec</source>
        <translation>单次自发自收</translation>
    </message>
    <message>
        <source>importability</source>
        <translation>请输入次数</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>%1 %2,
%3</source>
        <translation>%1 %2，
%3</translation>
    </message>
    <message>
        <source>Cannot read file</source>
        <translation>无法读取文件</translation>
    </message>
    <message>
        <source>%1,%3.</source>
        <translation>%1，%3。</translation>
    </message>
    <message>
        <source>No file name specified</source>
        <translation>未指定文件名</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Data error</source>
        <translation>数据错误</translation>
    </message>
    <message>
        <source>The file holds no frames: nothing was sent.</source>
        <translation>文件中没有帧，未发送任何帧。</translation>
    </message>
    <message>
        <source>The file holds no more frames: the replay ended after %1 frames.</source>
        <translation>文件中已没有帧，回放在发送 %1 帧后结束。</translation>
    </message>
    <message>
        <source>hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The number of sending times is not specified</source>
        <translation>未指定发送次数</translation>
    </message>
    <message>
        <source>CSV %1(*.CSV *.csv)</source>
        <translation>CSV %1(*.CSV *.csv)</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>ASC %1(*.ASC *.asc)</source>
        <translation>ASC %1(*.ASC *.asc)</translation>
    </message>
    <message>
        <source>CAN %1(*.CAN *.can)</source>
        <translation>CAN %1(*.CAN *.can)</translation>
    </message>
    <message>
        <source>%1 %2(*)</source>
        <translation>%1%2(*)</translation>
    </message>
    <message>
        <source>All</source>
        <translation>所有</translation>
    </message>
</context>
<context>
    <name>UiTabSendTaskPage</name>
    <message>
        <source>UiTabSendTaskPage</source>
        <translation>UiTabSendTaskPage</translation>
    </message>
    <message>
        <source>Task List</source>
        <translation>任务列表</translation>
    </message>
    <message>
        <source>Task Operation</source>
        <translation>任务操作</translation>
    </message>
    <message>
        <source>SendType：</source>
        <translation>发送方式：</translation>
    </message>
    <message>
        <source>Order send</source>
        <translation>顺序发送</translation>
    </message>
    <message>
        <source>Cycle send</source>
        <translation>循环发送</translation>
    </message>
    <message>
        <source>Timing send</source>
        <translation>定时发送</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>加载</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Normal Send</source>
        <translation>正常发送</translation>
    </message>
    <message>
        <source>Single Send</source>
        <translation>单次发送</translation>
    </message>
    <message>
        <source>Send &amp; Receive</source>
        <translation>自发自收</translation>
    </message>
    <message>
        <source>Single Send&amp;Rec</source>
        <translation>单次自发自收</translation>
    </message>
    <message>
        <source>Standard Frame</source>
        <translation>标准帧</translation>
    </message>
    <message>
        <source>Extend Frame</source>
        <translation>扩展帧</translation>
    </message>
    <message>
        <source>Data Frame</source>
        <translation>数据帧</translation>
    </message>
    <message>
        <source>Remote Frame</source>
        <translation>远程帧</translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation>固定</translation>
    </message>
    <message>
        <source>Increase</source>
        <translation>递增</translation>
    </message>
    <message>
        <source>0 Increase</source>
        <translation>数据0递增</translation>
    </message>
    <message>
        <source>1 Increase</source>
        <translation>数据1递增</translation>
    </message>
    <message>
        <source>2 Increase</source>
        <translation>数据2递增</translation>
    </message>
    <message>
        <source>3 Increase</source>
        <translation>数据3递增</translation>
    </message>
    <message>
        <source>4 Increase</source>
        <translation>数据4递增</translation>
    </message>
    <message>
        <source>5 Increase</source>
        <translation>数据5递增</translation>
    </message>
    <message>
        <source>6 Increase</source>
        <translation>数据6递增</translation>
    </message>
    <message>
        <source>7 Increase</source>
        <translation>数据7递增</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Send Mode</source>
        <translation>发送方式</translation>
    </message>
    <message>
        <source>ID(Hex)</source>
        <translation>帧ID(Hex)</translation>
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
        <source>Data(Hex)</source>
        <translation>数据(Hex)</translation>
    </message>
    <message>
        <source>Frames</source>
        <translation>每次帧数</translation>
    </message>
    <message>
        <source>ID Rule</source>
        <translation>ID规则</translation>
    </message>
    <message>
        <source>Data Rule</source>
        <translation>数据规则</translation>
    </message>
    <message>
        <source>Send Times</source>
        <translation>发送总数</translation>
    </message>
    <message>
        <source>Interval(ms)</source>
        <translation>发送间隔(ms)</translation>
    </message>
    <message>
        <source>ID(Hex) is out of range for its frame format</source>
        <translation>帧ID(Hex)超出其帧格式的范围</translation>
    </message>
    <message>
        <source>Data(Hex) holds more than 8 bytes</source>
        <translation>数据(Hex)超过8个字节</translation>
    </message>
    <message>
        <source>Frames must be 1 to 3</source>
        <translation>每次帧数须为1至3</translation>
    </message>
    <message>
        <source>Send Times must be 1 to 999999999</source>
        <translation>发送总数须为1至999999999</translation>
    </message>
    <message>
        <source>Interval(ms) must be 0 to 99999999</source>
        <translation>发送间隔(ms)须为0至99999999</translation>
    </message>
    <message>
        <source>Row %1: %2</source>
        <translation>第%1行：%2</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>These rows were not sent:</source>
        <translation>以下各行未发送：</translation>
    </message>
    <message>
        <source>Data is empty</source>
        <translation>数据为空</translation>
    </message>
    <message>
        <source>Save data</source>
        <translation>保存数据</translation>
    </message>
    <message>
        <source>Save failed: %1</source>
        <translation>保存失败：%1</translation>
    </message>
    <message>
        <source>Save successfully</source>
        <translation>保存成功</translation>
    </message>
    <message>
        <source>Open the task data file</source>
        <translation>打开任务数据文件</translation>
    </message>
    <message>
        <source>Open fail</source>
        <translation>打开失败</translation>
    </message>
    <message>
        <source>Loading the task list...</source>
        <translation>正在加载任务列表……</translation>
    </message>
    <message>
        <source>Preparing the tasks...</source>
        <translation>正在准备发送任务……</translation>
    </message>
    <message>
        <source>Lines skipped because they do not have 12 fields: %1</source>
        <translation>因不是12个字段而跳过的行数：%1</translation>
    </message>
    <message>
        <source>These lines were not loaded:</source>
        <translation>以下各行未加载：</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>第%1行：%2</translation>
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
        <translation>帧类型</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>帧格式</translation>
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
<context>
    <name>UlFile</name>
    <message>
        <source>Line %1 is not a valid frame.</source>
        <translation>第%1行不是有效的帧。</translation>
    </message>
    <message>
        <source>Line %1: the ID does not fit its frame format (standard up to 0x7FF, extended up to 0x1FFFFFFF).</source>
        <translation>第%1行：帧ID超出其帧格式的范围（标准帧最大0x7FF，扩展帧最大0x1FFFFFFF）。</translation>
    </message>
    <message>
        <source>Line %1 is too long.</source>
        <translation>第%1行过长。</translation>
    </message>
</context>
</TS>
