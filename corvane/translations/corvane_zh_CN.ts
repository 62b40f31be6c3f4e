<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en_US">
<context>
    <name>AboutUsDialog</name>
    <message>
        <source>About Us</source>
        <translation>关于我们</translation>
    </message>
    <message>
        <source>Copyright (C) All rights reserved.</source>
        <translation>版权所有 (C)，保留所有权利。</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>版本：</translation>
    </message>
</context>
<context>
    <name>CScheduleSet</name>
    <message>
        <source>Sun</source>
        <translation>周日</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>周一</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>周二</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>周三</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>周四</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>周五</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>周六</translation>
    </message>
</context>
<context>
    <name>CTableView</name>
    <message>
        <source>IP Address</source>
        <translation>IP地址</translation>
    </message>
    <message>
        <source>Full Netcom</source>
        <translation>全网通</translation>
    </message>
    <message>
        <source>Netcom Online</source>
        <translation>全网通在线</translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation>设备名称</translation>
    </message>
    <message>
        <source>Device Model</source>
        <translation>设备型号</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>MAC地址</translation>
    </message>
    <message>
        <source>Subnet Mask</source>
        <translation>子网掩码</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>网关</translation>
    </message>
    <message>
        <source>DNS</source>
        <translation>DNS</translation>
    </message>
    <message>
        <source>HTTP Port</source>
        <translation>HTTP端口</translation>
    </message>
    <message>
        <source>RTSP Port</source>
        <translation>RTSP端口</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>通道数</translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>Device Code</source>
        <translation>设备编码</translation>
    </message>
    <message>
        <source>User Name</source>
        <translation>用户名</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Open Browser</source>
        <translation>打开浏览器</translation>
    </message>
    <message>
        <source>View Device QRcode</source>
        <translation>查看设备二维码</translation>
    </message>
</context>
<context>
    <name>Cmodifyresultmodel</name>
    <message>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>SD total capacity : </source>
        <translation>SD卡总容量：</translation>
    </message>
</context>
<context>
    <name>Cmodifyupgradeview</name>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Upgrade Process</source>
        <translation>升级进度</translation>
    </message>
    <message>
        <source>Upgrade State</source>
        <translation>升级状态</translation>
    </message>
</context>
<context>
    <name>DeviceManager</name>
    <message>
        <source>Modify SyncTime....</source>
        <translation>正在同步时间....</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Set SyncTime</source>
        <translation>同步时间</translation>
    </message>
    <message>
        <source>Modify OSD....</source>
        <translation>正在修改OSD....</translation>
    </message>
    <message>
        <source>Set OSD</source>
        <translation>设置OSD</translation>
    </message>
    <message>
        <source>check SD card</source>
        <translation>检测SD卡</translation>
    </message>
    <message>
        <source>Package error!</source>
        <translation>升级包错误！</translation>
    </message>
    <message>
        <source>Connect Failed!</source>
        <translation>连接失败！</translation>
    </message>
    <message>
        <source>Upgrade failed!</source>
        <translation>升级失败！</translation>
    </message>
    <message>
        <source>Upgrade Success!</source>
        <translation>升级成功！</translation>
    </message>
    <message>
        <source>Upgrading...</source>
        <translation>正在升级...</translation>
    </message>
    <message>
        <source>Setting TCP/IP</source>
        <translation>设置TCP/IP</translation>
    </message>
    <message>
        <source>Setting Port</source>
        <translation>设置端口</translation>
    </message>
    <message>
        <source>Setting DDNS</source>
        <translation>设置DDNS</translation>
    </message>
    <message>
        <source>Setting P2P</source>
        <translation>设置P2P</translation>
    </message>
    <message>
        <source>Setting GB28181</source>
        <translation>设置GB28181</translation>
    </message>
    <message>
        <source>Setting Video</source>
        <translation>设置视频</translation>
    </message>
    <message>
        <source>Setting Audio</source>
        <translation>设置音频</translation>
    </message>
    <message>
        <source>Setting OSD</source>
        <translation>设置OSD</translation>
    </message>
    <message>
        <source>Setting Image</source>
        <translation>设置图像</translation>
    </message>
    <message>
        <source>Setting Privacy Mask</source>
        <translation>设置隐私遮挡</translation>
    </message>
    <message>
        <source>Setting Motion Detect</source>
        <translation>设置移动侦测</translation>
    </message>
    <message>
        <source>Setting Account Manage</source>
        <translation>设置账户管理</translation>
    </message>
    <message>
        <source>Setting Time</source>
        <translation>设置时间</translation>
    </message>
    <message>
        <source>Setting Regular Maintain</source>
        <translation>设置定时维护</translation>
    </message>
    <message>
        <source>Setting The Audio Board In</source>
        <translation>设置音频灯板接入</translation>
    </message>
    <message>
        <source>Please select a set first!</source>
        <translation>请先选择要设置的项！</translation>
    </message>
    <message>
        <source>Other Parameter Config Modify...</source>
        <translation>正在修改其他参数配置...</translation>
    </message>
    <message>
        <source>Waiting for the previous run to finish...</source>
        <translation>正在等待上一次配置结束...</translation>
    </message>
    <message>
        <source>No free IP address is left: the remaining devices were not changed!</source>
        <translation>没有剩余的可用IP地址：其余设备未修改！</translation>
    </message>
</context>
<context>
    <name>LockerWidget</name>
    <message>
        <source>Image Adjustment</source>
        <translation>图像调节</translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation>曝光</translation>
    </message>
    <message>
        <source>Back Light</source>
        <translation>背光</translation>
    </message>
    <message>
        <source>Day And Night Conversion</source>
        <translation>日夜转换</translation>
    </message>
    <message>
        <source>White Balance</source>
        <translation>白平衡</translation>
    </message>
    <message>
        <source>Video Adjustment</source>
        <translation>视频调节</translation>
    </message>
    <message>
        <source>Image Enhancement</source>
        <translation>图像增强</translation>
    </message>
    <message>
        <source>Dehaze</source>
        <translation>透雾</translation>
    </message>
    <message>
        <source>Distortion</source>
        <translation>畸变校正</translation>
    </message>
    <message>
        <source>Image Rotation</source>
        <translation>图像旋转</translation>
    </message>
    <message>
        <source>Luminance:</source>
        <translation>亮度：</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>恢复默认</translation>
    </message>
    <message>
        <source>Contrast:</source>
        <translation>对比度：</translation>
    </message>
    <message>
        <source>Saturation:</source>
        <translation>饱和度：</translation>
    </message>
    <message>
        <source>Sharpness:</source>
        <translation>锐度：</translation>
    </message>
    <message>
        <source>Eposure Mode:</source>
        <translation>曝光模式：</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>手动</translation>
    </message>
    <message>
        <source>Electronic Shutter:</source>
        <translation>电子快门：</translation>
    </message>
    <message>
        <source>Auto Gain</source>
        <translation>自动增益</translation>
    </message>
    <message>
        <source>Gain Adjustment:</source>
        <translation>增益调节：</translation>
    </message>
    <message>
        <source>BLC:</source>
        <translation>背光补偿：</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>Backlight Amount:</source>
        <translation>背光补偿等级：</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>低</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>中</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>高</translation>
    </message>
    <message>
        <source>Fill Light Mode:</source>
        <translation>补光模式：</translation>
    </message>
    <message>
        <source>DayTime</source>
        <translation>白天</translation>
    </message>
    <message>
        <source>Night</source>
        <translation>夜晚</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>定时</translation>
    </message>
    <message>
        <source>Keep Color:</source>
        <translation>保持彩色：</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>Sensitivity:</source>
        <translation>灵敏度：</translation>
    </message>
    <message>
        <source>Filter Time:</source>
        <translation>滤波时间：</translation>
    </message>
    <message>
        <source>Light Mode:</source>
        <translation>灯光模式：</translation>
    </message>
    <message>
        <source>Dawn Time:</source>
        <translation>天亮时间：</translation>
    </message>
    <message>
        <source>Dark Time:</source>
        <translation>天黑时间：</translation>
    </message>
    <message>
        <source>Light Brightness:</source>
        <translation>灯光亮度：</translation>
    </message>
    <message>
        <source>White Balance:</source>
        <translation>白平衡：</translation>
    </message>
    <message>
        <source>Red Gain:</source>
        <translation>红色增益：</translation>
    </message>
    <message>
        <source>Green Gain:</source>
        <translation>绿色增益：</translation>
    </message>
    <message>
        <source>Blue Gain:</source>
        <translation>蓝色增益：</translation>
    </message>
    <message>
        <source>Digital NS:</source>
        <translation>数字降噪：</translation>
    </message>
    <message>
        <source>Manual 2D NR</source>
        <translation>手动2D降噪</translation>
    </message>
    <message>
        <source>Manual 3D NR</source>
        <translation>手动3D降噪</translation>
    </message>
    <message>
        <source>Manual 2D/3D NR</source>
        <translation>手动2D/3D降噪</translation>
    </message>
    <message>
        <source>Digital NS 2D:</source>
        <translation>2D数字降噪：</translation>
    </message>
    <message>
        <source>Digital NS 3D:</source>
        <translation>3D数字降噪：</translation>
    </message>
    <message>
        <source>Flicker Ctrl:</source>
        <translation>防闪烁：</translation>
    </message>
    <message>
        <source>NTSC(60HZ)</source>
        <translation>NTSC(60Hz)</translation>
    </message>
    <message>
        <source>PAL(50HZ)</source>
        <translation>PAL(50Hz)</translation>
    </message>
    <message>
        <source>Wide Dynamic Switch:</source>
        <translation>宽动态：</translation>
    </message>
    <message>
        <source>Shut Down</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Weak</source>
        <translation>弱</translation>
    </message>
    <message>
        <source>Moderate</source>
        <translation>中</translation>
    </message>
    <message>
        <source>Strong</source>
        <translation>强</translation>
    </message>
    <message>
        <source>Super</source>
        <translation>超强</translation>
    </message>
    <message>
        <source>Dehaze Mode:</source>
        <translation>透雾模式：</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>On</source>
        <translation>开</translation>
    </message>
    <message>
        <source>Dehaze Intense:</source>
        <translation>透雾强度：</translation>
    </message>
    <message>
        <source>Distort Mode:</source>
        <translation>畸变校正模式：</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Distort Intense:</source>
        <translation>畸变校正强度：</translation>
    </message>
    <message>
        <source>Mirroring:</source>
        <translation>镜像：</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>水平</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>垂直</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>水平和垂直</translation>
    </message>
    <message>
        <source>1/25</source>
        <translation>1/25</translation>
    </message>
    <message>
        <source>1/30</source>
        <translation>1/30</translation>
    </message>
    <message>
        <source>1/75</source>
        <translation>1/75</translation>
    </message>
    <message>
        <source>1/100</source>
        <translation>1/100</translation>
    </message>
    <message>
        <source>1/120</source>
        <translation>1/120</translation>
    </message>
    <message>
        <source>1/150</source>
        <translation>1/150</translation>
    </message>
    <message>
        <source>1/250</source>
        <translation>1/250</translation>
    </message>
    <message>
        <source>1/300</source>
        <translation>1/300</translation>
    </message>
    <message>
        <source>1/425</source>
        <translation>1/425</translation>
    </message>
    <message>
        <source>1/600</source>
        <translation>1/600</translation>
    </message>
    <message>
        <source>1/1000</source>
        <translation>1/1000</translation>
    </message>
    <message>
        <source>1/1250</source>
        <translation>1/1250</translation>
    </message>
    <message>
        <source>1/1750</source>
        <translation>1/1750</translation>
    </message>
    <message>
        <source>1/2500</source>
        <translation>1/2500</translation>
    </message>
    <message>
        <source>1/3500</source>
        <translation>1/3500</translation>
    </message>
    <message>
        <source>1/6000</source>
        <translation>1/6000</translation>
    </message>
    <message>
        <source>1/10000</source>
        <translation>1/10000</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>9</source>
        <translation>9</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
</context>
<context>
    <name>MainFrame</name>
    <message>
        <source>Main Stream Play</source>
        <translation>主码流预览</translation>
    </message>
    <message>
        <source>Search FullNetcom</source>
        <translation>搜索全网通</translation>
    </message>
    <message>
        <source>Network Card</source>
        <translation>网卡</translation>
    </message>
    <message>
        <source>System Configuration</source>
        <translation>系统配置</translation>
    </message>
    <message>
        <source>Search Completed,Total:</source>
        <translation>搜索完成，总数：</translation>
    </message>
    <message>
        <source>Selected:</source>
        <translation>已选：</translation>
    </message>
    <message>
        <source>Operationl Insruction</source>
        <translation>操作说明</translation>
    </message>
    <message>
        <source>Device Search</source>
        <translation>搜索设备</translation>
    </message>
    <message>
        <source>Set IP</source>
        <translation>设置IP</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Open FullNetcom</source>
        <translation>开启全网通</translation>
    </message>
    <message>
        <source>Close FullNetcom</source>
        <translation>关闭全网通</translation>
    </message>
    <message>
        <source>Open DHCP</source>
        <translation>开启DHCP</translation>
    </message>
    <message>
        <source>Close DHCP</source>
        <translation>关闭DHCP</translation>
    </message>
    <message>
        <source>PtzAndAudio Setting</source>
        <translation>云台与音频设置</translation>
    </message>
    <message>
        <source>Check Device SD Card</source>
        <translation>检测设备SD卡</translation>
    </message>
    <message>
        <source>Play Check Device</source>
        <translation>预览检测设备</translation>
    </message>
    <message>
        <source>Sync time</source>
        <translation>同步时间</translation>
    </message>
    <message>
        <source>Reboot</source>
        <translation>重启</translation>
    </message>
    <message>
        <source>Simple Recovery</source>
        <translation>简单恢复</translation>
    </message>
    <message>
        <source>Full Recovery</source>
        <translation>完全恢复</translation>
    </message>
    <message>
        <source>Audio Detection</source>
        <translation>音频检测</translation>
    </message>
    <message>
        <source>GPIO Detection</source>
        <translation>GPIO检测</translation>
    </message>
    <message>
        <source>Config Parm</source>
        <translation>配置参数</translation>
    </message>
    <message>
        <source>Set OSD</source>
        <translation>设置OSD</translation>
    </message>
    <message>
        <source>Image Test</source>
        <translation>图像测试</translation>
    </message>
    <message>
        <source>Ten Zoom</source>
        <translation>十倍变焦</translation>
    </message>
    <message>
        <source>Label Printing</source>
        <translation>标签打印</translation>
    </message>
    <message>
        <source>Firmware Upgrade</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>Upgrade File</source>
        <translation>升级文件</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>浏览</translation>
    </message>
    <message>
        <source>File Upgrade</source>
        <translation>文件升级</translation>
    </message>
    <message>
        <source>Right-click can open the Browser,view the QR code download device,remote configuration operation</source>
        <translation>右键可打开浏览器、查看设备二维码、进行远程配置操作</translation>
    </message>
    <message>
        <source>Please select the device first!</source>
        <translation>请先选择设备！</translation>
    </message>
    <message>
        <source>Android &amp; IOS APP</source>
        <translation>安卓 &amp; iOS 应用</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Please choose upgrade package!</source>
        <translation>请选择升级包！</translation>
    </message>
    <message>
        <source>Please select a device!</source>
        <translation>请选择一台设备！</translation>
    </message>
    <message>
        <source>The label program cannot be started!</source>
        <translation>标签打印程序无法启动！</translation>
    </message>
    <message>
        <source>Audio Detecting....</source>
        <translation>正在检测音频....</translation>
    </message>
    <message>
        <source>GPIO Detecting....</source>
        <translation>正在检测GPIO....</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>音频</translation>
    </message>
    <message>
        <source>GPIO Port</source>
        <translation>GPIO端口</translation>
    </message>
    <message>
        <source>Please set a valid IP start address first!</source>
        <translation>请先设置有效的起始IP地址！</translation>
    </message>
    <message>
        <source>The start address is still on its way to a camera: nothing was sent!</source>
        <translation>起始地址仍在分配给一台设备：未发送任何修改！</translation>
    </message>
    <message>
        <source>Modifying IP....</source>
        <translation>正在修改IP....</translation>
    </message>
    <message>
        <source>Turning on full Netcom...</source>
        <translation>正在开启全网通...</translation>
    </message>
    <message>
        <source>Turning off full Netcom...</source>
        <translation>正在关闭全网通...</translation>
    </message>
    <message>
        <source>Other Settings</source>
        <translation>其他设置</translation>
    </message>
    <message>
        <source>Play the main stream, please select less than 4 units!</source>
        <translation>预览主码流，请选择少于4台设备！</translation>
    </message>
    <message>
        <source>Play the sub stream, please select less than 10 units!</source>
        <translation>预览子码流，请选择少于10台设备！</translation>
    </message>
    <message>
        <source>Please search for device!</source>
        <translation>请先搜索设备！</translation>
    </message>
    <message>
        <source>Rebooting....</source>
        <translation>正在重启....</translation>
    </message>
    <message>
        <source>SimpleRecovery....</source>
        <translation>正在简单恢复....</translation>
    </message>
    <message>
        <source>FullRecoverying....</source>
        <translation>正在完全恢复....</translation>
    </message>
    <message>
        <source>SimpleRecovery</source>
        <translation>简单恢复</translation>
    </message>
    <message>
        <source>All(*)</source>
        <translation>所有文件(*)</translation>
    </message>
    <message>
        <source>No free IP address is left: the remaining devices were not changed!</source>
        <translation>没有剩余的可用IP地址：其余设备未修改！</translation>
    </message>
</context>
<context>
    <name>MotionDetectSetWidget</name>
    <message>
        <source>Region</source>
        <translation>区域</translation>
    </message>
    <message>
        <source>Arming</source>
        <translation>布防</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>Clean All</source>
        <translation>全部清除</translation>
    </message>
    <message>
        <source>Sensitive</source>
        <translation>灵敏度</translation>
    </message>
</context>
<context>
    <name>MultiTreeWidget</name>
    <message>
        <source>TCP/IP Setting</source>
        <translation>TCP/IP设置</translation>
    </message>
    <message>
        <source>Port Setting</source>
        <translation>端口设置</translation>
    </message>
    <message>
        <source>DDNS Setting</source>
        <translation>DDNS设置</translation>
    </message>
    <message>
        <source>P2P Setting</source>
        <translation>P2P设置</translation>
    </message>
    <message>
        <source>GB28181 Setting</source>
        <translation>GB28181设置</translation>
    </message>
    <message>
        <source>Video Setting</source>
        <translation>视频设置</translation>
    </message>
    <message>
        <source>Audio Setting</source>
        <translation>音频设置</translation>
    </message>
    <message>
        <source>OSD Setting</source>
        <translation>OSD设置</translation>
    </message>
    <message>
        <source>Image Setting</source>
        <translation>图像设置</translation>
    </message>
    <message>
        <source>Privacy Mask</source>
        <translation>隐私遮挡</translation>
    </message>
    <message>
        <source>Motion Alarm</source>
        <translation>移动报警</translation>
    </message>
    <message>
        <source>Account Manage</source>
        <translation>账户管理</translation>
    </message>
    <message>
        <source>Time Setting</source>
        <translation>时间设置</translation>
    </message>
    <message>
        <source>Regular Maintain</source>
        <translation>定时维护</translation>
    </message>
    <message>
        <source>Audio Lgtboard In</source>
        <translation>音频灯板接入</translation>
    </message>
    <message>
        <source>Setting TCP/IP</source>
        <translation>设置TCP/IP</translation>
    </message>
    <message>
        <source>Setting Port</source>
        <translation>设置端口</translation>
    </message>
    <message>
        <source>Setting DDNS</source>
        <translation>设置DDNS</translation>
    </message>
    <message>
        <source>Setting P2P</source>
        <translation>设置P2P</translation>
    </message>
    <message>
        <source>Setting GB28181</source>
        <translation>设置GB28181</translation>
    </message>
    <message>
        <source>Setting Video</source>
        <translation>设置视频</translation>
    </message>
    <message>
        <source>Setting Audio</source>
        <translation>设置音频</translation>
    </message>
    <message>
        <source>Setting OSD</source>
        <translation>设置OSD</translation>
    </message>
    <message>
        <source>Setting Image</source>
        <translation>设置图像</translation>
    </message>
    <message>
        <source>Setting Privacy Mask</source>
        <translation>设置隐私遮挡</translation>
    </message>
    <message>
        <source>Setting Motion Detect</source>
        <translation>设置移动侦测</translation>
    </message>
    <message>
        <source>Setting Account Manage</source>
        <translation>设置账户管理</translation>
    </message>
    <message>
        <source>Setting Time</source>
        <translation>设置时间</translation>
    </message>
    <message>
        <source>Setting Regular Maintain</source>
        <translation>设置定时维护</translation>
    </message>
    <message>
        <source>Setting The Audio Board In</source>
        <translation>设置音频灯板接入</translation>
    </message>
    <message>
        <source>Network Parameters</source>
        <translation>网络参数</translation>
    </message>
    <message>
        <source>Media Setting</source>
        <translation>媒体设置</translation>
    </message>
    <message>
        <source>Alarm Setting</source>
        <translation>报警设置</translation>
    </message>
    <message>
        <source>System Setting</source>
        <translation>系统设置</translation>
    </message>
    <message>
        <source>Hardware Setting</source>
        <translation>硬件设置</translation>
    </message>
</context>
<context>
    <name>OtherParamConfigDlg</name>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Network Parameters</source>
        <translation>网络参数</translation>
    </message>
    <message>
        <source>Media Setting</source>
        <translation>媒体设置</translation>
    </message>
    <message>
        <source>Alarm Setting</source>
        <translation>报警设置</translation>
    </message>
    <message>
        <source>System Setting</source>
        <translation>系统设置</translation>
    </message>
    <message>
        <source>Save Failed! The settings could not be written.</source>
        <translation>保存失败！无法写入设置。</translation>
    </message>
    <message>
        <source>Save Success!</source>
        <translation>保存成功！</translation>
    </message>
    <message>
        <source>Open Audio</source>
        <translation>开启音频</translation>
    </message>
    <message>
        <source>Audio Input:</source>
        <translation>音频输入：</translation>
    </message>
    <message>
        <source>Mic</source>
        <translation>麦克风</translation>
    </message>
    <message>
        <source>Line in</source>
        <translation>线性输入</translation>
    </message>
    <message>
        <source>Audio Codec:</source>
        <translation>音频编码：</translation>
    </message>
    <message>
        <source>G711A</source>
        <translation>G711A</translation>
    </message>
    <message>
        <source>G711U</source>
        <translation>G711U</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>Input Volume:</source>
        <translation>输入音量：</translation>
    </message>
    <message>
        <source>Output Volume:</source>
        <translation>输出音量：</translation>
    </message>
    <message>
        <source>High Level</source>
        <translation>高电平</translation>
    </message>
    <message>
        <source>Low Level</source>
        <translation>低电平</translation>
    </message>
    <message>
        <source>Pwm</source>
        <translation>PWM</translation>
    </message>
    <message>
        <source>Infrared Light Board</source>
        <translation>红外灯板</translation>
    </message>
    <message>
        <source>Warm Light Board</source>
        <translation>暖光灯板</translation>
    </message>
    <message>
        <source>Infrared + Warm Light</source>
        <translation>红外 + 暖光</translation>
    </message>
    <message>
        <source>Infrared + White Light</source>
        <translation>红外 + 白光</translation>
    </message>
    <message>
        <source>Hard Photosensitive</source>
        <translation>硬光敏</translation>
    </message>
    <message>
        <source>Audio Input Method:</source>
        <translation>音频输入方式：</translation>
    </message>
    <message>
        <source>Light Board Turn-on Control:</source>
        <translation>灯板开启控制：</translation>
    </message>
    <message>
        <source>Light Board Mode:</source>
        <translation>灯板模式：</translation>
    </message>
    <message>
        <source>Light Board Brightness:</source>
        <translation>灯板亮度：</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Plat Access Method:</source>
        <translation>平台接入方式：</translation>
    </message>
    <message>
        <source>28181</source>
        <translation>28181</translation>
    </message>
    <message>
        <source>Protocol Version:</source>
        <translation>协议版本：</translation>
    </message>
    <message>
        <source>GB/T28181-2016</source>
        <translation>GB/T28181-2016</translation>
    </message>
    <message>
        <source>Local SIP Port:</source>
        <translation>本地SIP端口：</translation>
    </message>
    <message>
        <source>SIP Server ID:</source>
        <translation>SIP服务器ID：</translation>
    </message>
    <message>
        <source>SIP Server Domain:</source>
        <translation>SIP服务器域：</translation>
    </message>
    <message>
        <source>SIP Server Address:</source>
        <translation>SIP服务器地址：</translation>
    </message>
    <message>
        <source>SIP Server Port:</source>
        <translation>SIP服务器端口：</translation>
    </message>
    <message>
        <source>SIP User Name:</source>
        <translation>SIP用户名：</translation>
    </message>
    <message>
        <source>SIP User Auth ID:</source>
        <translation>SIP用户认证ID：</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>Confirm Password:</source>
        <translation>确认密码：</translation>
    </message>
    <message>
        <source>Register Valid Period(S):</source>
        <translation>注册有效期(秒)：</translation>
    </message>
    <message>
        <source>Registration Status:</source>
        <translation>注册状态：</translation>
    </message>
    <message>
        <source>Not Online</source>
        <translation>离线</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>在线</translation>
    </message>
    <message>
        <source>Heartbeat Cycle(S):</source>
        <translation>心跳周期(秒)：</translation>
    </message>
    <message>
        <source>28181 Stream Index:</source>
        <translation>28181码流索引：</translation>
    </message>
    <message>
        <source>Main Stream</source>
        <translation>主码流</translation>
    </message>
    <message>
        <source>Sub Stream</source>
        <translation>子码流</translation>
    </message>
    <message>
        <source>Tri Stream</source>
        <translation>第三码流</translation>
    </message>
    <message>
        <source>Transfer Protocol:</source>
        <translation>传输协议：</translation>
    </message>
    <message>
        <source>TCP</source>
        <translation>TCP</translation>
    </message>
    <message>
        <source>UDP</source>
        <translation>UDP</translation>
    </message>
    <message>
        <source>Register Interval(S):</source>
        <translation>注册间隔(秒)：</translation>
    </message>
    <message>
        <source>Max Num Of Heart Timeouts:</source>
        <translation>最大心跳超时次数：</translation>
    </message>
    <message>
        <source>Alarm Input Code ID:</source>
        <translation>报警输入编码ID：</translation>
    </message>
    <message>
        <source>The Range Is 1024-65535</source>
        <translation>范围为1024-65535</translation>
    </message>
    <message>
        <source>Please enter 20 digits</source>
        <translation>请输入20位数字</translation>
    </message>
    <message>
        <source>Please enter 10 digits</source>
        <translation>请输入10位数字</translation>
    </message>
    <message>
        <source>Please enter 20 digits </source>
        <translation>请输入20位数字 </translation>
    </message>
    <message>
        <source>Minimum passwork 1 Characters and a maximum 18 Characters,And can not contain Chinese!</source>
        <translation>密码最少1个字符，最多18个字符，且不能包含中文！</translation>
    </message>
    <message>
        <source>GB28181 Password twice inconsistent!</source>
        <translation>GB28181两次输入的密码不一致！</translation>
    </message>
    <message>
        <source>The Range Is 3600-100000S</source>
        <translation>范围为3600-100000秒</translation>
    </message>
    <message>
        <source>The Range Is 5-255S</source>
        <translation>范围为5-255秒</translation>
    </message>
    <message>
        <source>The Range Is 60-600S</source>
        <translation>范围为60-600秒</translation>
    </message>
    <message>
        <source>The Range Is 3-255S</source>
        <translation>范围为3-255</translation>
    </message>
    <message>
        <source>GB28181 The localSipPort Range Is 1024-65535!</source>
        <translation>GB28181本地SIP端口范围为1024-65535！</translation>
    </message>
    <message>
        <source>GB28181 ServerId Please enter 20 digits!</source>
        <translation>GB28181 SIP服务器ID请输入20位数字！</translation>
    </message>
    <message>
        <source>GB28181 ServerDomain Please enter 10 digits!</source>
        <translation>GB28181 SIP服务器域请输入10位数字！</translation>
    </message>
    <message>
        <source>GB28181 The ServerPort Range Is 1024-65535!</source>
        <translation>GB28181 SIP服务器端口范围为1024-65535！</translation>
    </message>
    <message>
        <source>GB28181 SIP User Please enter 20 digits!</source>
        <translation>GB28181 SIP用户名请输入20位数字！</translation>
    </message>
    <message>
        <source>GB28181 SIP UserAuthId Please enter 20 digits!</source>
        <translation>GB28181 SIP用户认证ID请输入20位数字！</translation>
    </message>
    <message>
        <source>GB28181 The ValidTime Range Is 3600-100000S!</source>
        <translation>GB28181注册有效期范围为3600-100000秒！</translation>
    </message>
    <message>
        <source>GB28181 The heartBeatCycle Range Is 5-255S!</source>
        <translation>GB28181心跳周期范围为5-255秒！</translation>
    </message>
    <message>
        <source>GB28181 The Interval Range Is 60-600S!</source>
        <translation>GB28181注册间隔范围为60-600秒！</translation>
    </message>
    <message>
        <source>GB28181 The maxHeartCount Range Is 3-255S!</source>
        <translation>GB28181最大心跳超时次数范围为3-255！</translation>
    </message>
    <message>
        <source>GB28181 alarmInCodeId Please enter 20 digits!</source>
        <translation>GB28181报警输入编码ID请输入20位数字！</translation>
    </message>
    <message>
        <source>GB28181 Password can not be blank!</source>
        <translation>GB28181密码不能为空！</translation>
    </message>
    <message>
        <source>Enable DHCP</source>
        <translation>启用DHCP</translation>
    </message>
    <message>
        <source>IPv4 Addr:</source>
        <translation>IPv4地址：</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>测试</translation>
    </message>
    <message>
        <source>IPv4 Mask:</source>
        <translation>IPv4子网掩码：</translation>
    </message>
    <message>
        <source>IPv4 Gateway:</source>
        <translation>IPv4网关：</translation>
    </message>
    <message>
        <source>Full Netcom:</source>
        <translation>全网通：</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>禁用</translation>
    </message>
    <message>
        <source>Setting DNS Server</source>
        <translation>设置DNS服务器</translation>
    </message>
    <message>
        <source>DNS Server:</source>
        <translation>DNS服务器：</translation>
    </message>
    <message>
        <source>Specify the first value of the ip address as a value between 1 and 233!</source>
        <translation>IP地址的第一段须为1到233之间的值！</translation>
    </message>
    <message>
        <source>Invalid IP address!</source>
        <translation>IP地址无效！</translation>
    </message>
    <message>
        <source>Invalid Netmask address!</source>
        <translation>子网掩码无效！</translation>
    </message>
    <message>
        <source>Invalid gateway address!</source>
        <translation>网关地址无效！</translation>
    </message>
    <message>
        <source>IP address and gate way are not in the same network segment!Are you sure modify?</source>
        <translation>IP地址与网关不在同一网段！确定要修改吗？</translation>
    </message>
    <message>
        <source>Specify the first value of the DNS address as a value between 1 and 233!</source>
        <translation>DNS地址的第一段须为1到233之间的值！</translation>
    </message>
    <message>
        <source>Invalid DNS address!</source>
        <translation>DNS地址无效！</translation>
    </message>
    <message>
        <source>HTTP Port:</source>
        <translation>HTTP端口：</translation>
    </message>
    <message>
        <source>RTSP Port:</source>
        <translation>RTSP端口：</translation>
    </message>
    <message>
        <source>HTTPS Port:</source>
        <translation>HTTPS端口：</translation>
    </message>
    <message>
        <source>Protocol Port</source>
        <translation>协议端口</translation>
    </message>
    <message>
        <source>ONVIF Port:</source>
        <translation>ONVIF端口：</translation>
    </message>
    <message>
        <source>Enable ONVIF</source>
        <translation>启用ONVIF</translation>
    </message>
    <message>
        <source>The effective value of HTTP port is 80 or from 1024 to 65535!</source>
        <translation>HTTP端口的有效值为80或1024到65535！</translation>
    </message>
    <message>
        <source>The effective value of RTSP port is 554 or from 1024 to 65535!</source>
        <translation>RTSP端口的有效值为554或1024到65535！</translation>
    </message>
    <message>
        <source>The effective value of HTTPS port is 443 or from 1024 to 65535!</source>
        <translation>HTTPS端口的有效值为443或1024到65535！</translation>
    </message>
    <message>
        <source>The effective value of ONVIF protocol port is from 2000 to 65535!</source>
        <translation>ONVIF协议端口的有效值为2000到65535！</translation>
    </message>
    <message>
        <source>The port is repeated!</source>
        <translation>端口重复！</translation>
    </message>
    <message>
        <source>DDNS</source>
        <translation>DDNS</translation>
    </message>
    <message>
        <source>DDNS Type:</source>
        <translation>DDNS类型：</translation>
    </message>
    <message>
        <source>Oray</source>
        <translation>Oray</translation>
    </message>
    <message>
        <source>NO-IP</source>
        <translation>NO-IP</translation>
    </message>
    <message>
        <source>Dyn</source>
        <translation>Dyn</translation>
    </message>
    <message>
        <source>Domain:</source>
        <translation>域名：</translation>
    </message>
    <message>
        <source>DDNS User:</source>
        <translation>DDNS用户名：</translation>
    </message>
    <message>
        <source>DDNS Password:</source>
        <translation>DDNS密码：</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>状态：</translation>
    </message>
    <message>
        <source>Login Failed</source>
        <translation>登录失败</translation>
    </message>
    <message>
        <source>Service Type:</source>
        <translation>服务类型：</translation>
    </message>
    <message>
        <source>Ordinary User</source>
        <translation>普通用户</translation>
    </message>
    <message>
        <source>Service Provider Link:</source>
        <translation>服务商链接：</translation>
    </message>
    <message>
        <source>Oray DDNS To Apply</source>
        <translation>申请Oray DDNS</translation>
    </message>
    <message>
        <source>Oray DDNS To Help</source>
        <translation>Oray DDNS帮助</translation>
    </message>
    <message>
        <source>No-IP DDNS To Apply</source>
        <translation>申请No-IP DDNS</translation>
    </message>
    <message>
        <source>No-IP DDNS To Help</source>
        <translation>No-IP DDNS帮助</translation>
    </message>
    <message>
        <source>DYN DDNS To Apply</source>
        <translation>申请DYN DDNS</translation>
    </message>
    <message>
        <source>DYN DDNS To Help</source>
        <translation>DYN DDNS帮助</translation>
    </message>
    <message>
        <source>DDNS Password twice inconsistent!</source>
        <translation>DDNS两次输入的密码不一致！</translation>
    </message>
    <message>
        <source>DDNS Minimum passwork 1 Characters and a maximum 31 Characters,And can not contain Chinese!</source>
        <translation>DDNS密码最少1个字符，最多31个字符，且不能包含中文！</translation>
    </message>
    <message>
        <source>Testing...</source>
        <translation>正在测试...</translation>
    </message>
    <message>
        <source>IP Not Available!</source>
        <translation>IP不可用！</translation>
    </message>
    <message>
        <source>IP test failed: ping did not end!</source>
        <translation>IP测试失败：ping未结束！</translation>
    </message>
    <message>
        <source>IP test failed: ping could not run!</source>
        <translation>IP测试失败：无法运行ping！</translation>
    </message>
    <message>
        <source>IP Available!</source>
        <translation>IP可用！</translation>
    </message>
    <message>
        <source>YYYY/MM/DD</source>
        <translation>年/月/日</translation>
    </message>
    <message>
        <source>MM/DD/YYYY</source>
        <translation>月/日/年</translation>
    </message>
    <message>
        <source>DD/MM/YYYY</source>
        <translation>日/月/年</translation>
    </message>
    <message>
        <source>Top Left</source>
        <translation>左上</translation>
    </message>
    <message>
        <source>Bottom Left</source>
        <translation>左下</translation>
    </message>
    <message>
        <source>Show Time:</source>
        <translation>显示时间：</translation>
    </message>
    <message>
        <source>Show Text:</source>
        <translation>显示文本：</translation>
    </message>
    <message>
        <source>Date Format:</source>
        <translation>日期格式：</translation>
    </message>
    <message>
        <source>OSD Location:</source>
        <translation>OSD位置：</translation>
    </message>
    <message>
        <source>OSD Text:</source>
        <translation>OSD文本：</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>W</source>
        <translation>宽</translation>
    </message>
    <message>
        <source>H</source>
        <translation>高</translation>
    </message>
    <message>
        <source>Area %1:</source>
        <translation>区域%1：</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>周日</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>周一</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>周二</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>周三</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>周四</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>周五</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>周六</translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation>用户名：</translation>
    </message>
    <message>
        <source>User Type:</source>
        <translation>用户类型：</translation>
    </message>
    <message>
        <source>Admin</source>
        <translation>管理员</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Guest</source>
        <translation>访客</translation>
    </message>
    <message>
        <source>Pwd:</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>Confirm Pwd:</source>
        <translation>确认密码：</translation>
    </message>
    <message>
        <source>Account Password twice inconsistent!</source>
        <translation>账户两次输入的密码不一致！</translation>
    </message>
    <message>
        <source>Account Minimum passwork 8 Characters and a maximum 31 Characters,It must contain numbers and letters!</source>
        <translation>账户密码最少8个字符，最多31个字符，且必须包含数字和字母！</translation>
    </message>
    <message>
        <source>Restart Regularly:</source>
        <translation>定时重启：</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>从不</translation>
    </message>
    <message>
        <source>Every</source>
        <translation>每天</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>每周</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>每月</translation>
    </message>
    <message>
        <source>H.264</source>
        <translation>H.264</translation>
    </message>
    <message>
        <source>H.265</source>
        <translation>H.265</translation>
    </message>
    <message>
        <source>VBR</source>
        <translation>变码率</translation>
    </message>
    <message>
        <source>CBR</source>
        <translation>定码率</translation>
    </message>
    <message>
        <source>2304*1296</source>
        <translation>2304*1296</translation>
    </message>
    <message>
        <source>1920*1080</source>
        <translation>1920*1080</translation>
    </message>
    <message>
        <source>1280*720</source>
        <translation>1280*720</translation>
    </message>
    <message>
        <source>720*480</source>
        <translation>720*480</translation>
    </message>
    <message>
        <source>640*480</source>
        <translation>640*480</translation>
    </message>
    <message>
        <source>Stream Type:</source>
        <translation>码流类型：</translation>
    </message>
    <message>
        <source>Video Encoding:</source>
        <translation>视频编码：</translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation>分辨率：</translation>
    </message>
    <message>
        <source>Frame Rate:</source>
        <translation>帧率：</translation>
    </message>
    <message>
        <source>Bitrate:</source>
        <translation>码率：</translation>
    </message>
    <message>
        <source>Vary(Fix) Bitrate:</source>
        <translation>码率控制：</translation>
    </message>
    <message>
        <source>I Frame Interval:</source>
        <translation>I帧间隔：</translation>
    </message>
    <message>
        <source>H265+:</source>
        <translation>H265+：</translation>
    </message>
</context>
<context>
    <name>PelloraDialog</name>
    <message>
        <source>Pellora</source>
        <translation>Pellora</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英文</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>电源</translation>
    </message>
    <message>
        <source>POE</source>
        <translation>POE</translation>
    </message>
    <message>
        <source>SN</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Mac</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>PrintingPreview</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>DirectPrinting</source>
        <translation>直接打印</translation>
    </message>
</context>
<context>
    <name>PtzAndAudioDeviceDialog</name>
    <message>
        <source>PTZ</source>
        <translation>云台</translation>
    </message>
    <message>
        <source>[-Operation record-]</source>
        <translation>[-操作记录-]</translation>
    </message>
    <message>
        <source>Open Voice Success</source>
        <translation>开启语音成功</translation>
    </message>
    <message>
        <source>Close Voice Success</source>
        <translation>关闭语音成功</translation>
    </message>
    <message>
        <source>Open Voice Fail</source>
        <translation>开启语音失败</translation>
    </message>
    <message>
        <source>Close Voice Fail</source>
        <translation>关闭语音失败</translation>
    </message>
    <message>
        <source>LeftUp</source>
        <translation>左上</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>上</translation>
    </message>
    <message>
        <source>RightUp</source>
        <translation>右上</translation>
    </message>
    <message>
        <source>Zoom+</source>
        <translation>变倍+</translation>
    </message>
    <message>
        <source>Zoom-</source>
        <translation>变倍-</translation>
    </message>
    <message>
        <source>Open Voice</source>
        <translation>开启语音</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>左</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>右</translation>
    </message>
    <message>
        <source>Focus+</source>
        <translation>聚焦+</translation>
    </message>
    <message>
        <source>Focus-</source>
        <translation>聚焦-</translation>
    </message>
    <message>
        <source>Close Voice</source>
        <translation>关闭语音</translation>
    </message>
    <message>
        <source>LeftDown</source>
        <translation>左下</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>下</translation>
    </message>
    <message>
        <source>RightDown</source>
        <translation>右下</translation>
    </message>
    <message>
        <source>Aperture+</source>
        <translation>光圈+</translation>
    </message>
    <message>
        <source>Aperture-</source>
        <translation>光圈-</translation>
    </message>
    <message>
        <source>InitLines</source>
        <translation>初始化线</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>ZoomStop</source>
        <translation>变倍停止</translation>
    </message>
    <message>
        <source>FocusStop</source>
        <translation>聚焦停止</translation>
    </message>
</context>
<context>
    <name>RowTexts</name>
    <message>
        <source>Logging in...</source>
        <translation>正在登录...</translation>
    </message>
    <message>
        <source>Login Successful</source>
        <translation>登录成功</translation>
    </message>
    <message>
        <source>Login Failed</source>
        <translation>登录失败</translation>
    </message>
    <message>
        <source>Login Timeout</source>
        <translation>登录超时</translation>
    </message>
    <message>
        <source>Set SyncTime Success</source>
        <translation>同步时间成功</translation>
    </message>
    <message>
        <source>Set SyncTime Failed</source>
        <translation>同步时间失败</translation>
    </message>
    <message>
        <source>Reboot Success</source>
        <translation>重启成功</translation>
    </message>
    <message>
        <source>Reboot Failed</source>
        <translation>重启失败</translation>
    </message>
    <message>
        <source>Reboot Timeout</source>
        <translation>重启超时</translation>
    </message>
    <message>
        <source>SimpleRecovery Success</source>
        <translation>简单恢复成功</translation>
    </message>
    <message>
        <source>SimpleRecovery Failed</source>
        <translation>简单恢复失败</translation>
    </message>
    <message>
        <source>SimpleRecovery Timeout</source>
        <translation>简单恢复超时</translation>
    </message>
    <message>
        <source>Full Recovery Success</source>
        <translation>完全恢复成功</translation>
    </message>
    <message>
        <source>Full Recovery Failed</source>
        <translation>完全恢复失败</translation>
    </message>
    <message>
        <source>MODIFY Full Recovery Timeout</source>
        <translation>完全恢复超时</translation>
    </message>
    <message>
        <source>Set OSD Success</source>
        <translation>设置OSD成功</translation>
    </message>
    <message>
        <source>Set OSD Failed</source>
        <translation>设置OSD失败</translation>
    </message>
    <message>
        <source>Get CpldData Failed!</source>
        <translation>读取变焦数据失败！</translation>
    </message>
    <message>
        <source>Set Ten Zoom Success!</source>
        <translation>设置十倍变焦成功！</translation>
    </message>
    <message>
        <source>Set Ten Zoom Failed!</source>
        <translation>设置十倍变焦失败！</translation>
    </message>
    <message>
        <source>Modify Tcp/Ip Success</source>
        <translation>修改TCP/IP成功</translation>
    </message>
    <message>
        <source>Modify Tcp/Ip Failed</source>
        <translation>修改TCP/IP失败</translation>
    </message>
    <message>
        <source>Modify Port Success</source>
        <translation>修改端口成功</translation>
    </message>
    <message>
        <source>Modify Port Failed</source>
        <translation>修改端口失败</translation>
    </message>
    <message>
        <source>Modify DDNS Success</source>
        <translation>修改DDNS成功</translation>
    </message>
    <message>
        <source>Modify DDNS Failed</source>
        <translation>修改DDNS失败</translation>
    </message>
    <message>
        <source>P2P Modify Success</source>
        <translation>修改P2P成功</translation>
    </message>
    <message>
        <source>P2P Modify Failed</source>
        <translation>修改P2P失败</translation>
    </message>
    <message>
        <source>Modify GB28181 Success</source>
        <translation>修改GB28181成功</translation>
    </message>
    <message>
        <source>Modify GB28181 Failed</source>
        <translation>修改GB28181失败</translation>
    </message>
    <message>
        <source>Modify Video Param Success</source>
        <translation>修改视频参数成功</translation>
    </message>
    <message>
        <source>Modify Video Param Failed</source>
        <translation>修改视频参数失败</translation>
    </message>
    <message>
        <source>Set Audio Param Success</source>
        <translation>设置音频参数成功</translation>
    </message>
    <message>
        <source>Set Audio Param Failed</source>
        <translation>设置音频参数失败</translation>
    </message>
    <message>
        <source>Modify Image Param Success</source>
        <translation>修改图像参数成功</translation>
    </message>
    <message>
        <source>Modify Image Param Failed</source>
        <translation>修改图像参数失败</translation>
    </message>
    <message>
        <source>Set Privacy Success</source>
        <translation>设置隐私遮挡成功</translation>
    </message>
    <message>
        <source>Set Privacy Failed</source>
        <translation>设置隐私遮挡失败</translation>
    </message>
    <message>
        <source>Modify Privacy Failed</source>
        <translation>修改隐私遮挡失败</translation>
    </message>
    <message>
        <source>Modify Motion Detection Success</source>
        <translation>修改移动侦测成功</translation>
    </message>
    <message>
        <source>Modify Motion Detection Failed</source>
        <translation>修改移动侦测失败</translation>
    </message>
    <message>
        <source>Modify Account Success</source>
        <translation>修改账户成功</translation>
    </message>
    <message>
        <source>Modify Account Failed</source>
        <translation>修改账户失败</translation>
    </message>
    <message>
        <source>Set Time Success</source>
        <translation>设置时间成功</translation>
    </message>
    <message>
        <source>Set Time Failed</source>
        <translation>设置时间失败</translation>
    </message>
    <message>
        <source>Set Timer To Restart Success</source>
        <translation>设置定时重启成功</translation>
    </message>
    <message>
        <source>Set Timer To Restart Failed</source>
        <translation>设置定时重启失败</translation>
    </message>
    <message>
        <source>Set Audio Board Success</source>
        <translation>设置音频灯板成功</translation>
    </message>
    <message>
        <source>Set Audio Board Failed</source>
        <translation>设置音频灯板失败</translation>
    </message>
    <message>
        <source>Left out: the previous run is still changing this camera</source>
        <translation>未修改：上一次配置仍在修改此设备</translation>
    </message>
    <message>
        <source>New IP:</source>
        <translation>新IP：</translation>
    </message>
    <message>
        <source>Modify IP Failed</source>
        <translation>修改IP失败</translation>
    </message>
    <message>
        <source>Modify IP Timeout</source>
        <translation>修改IP超时</translation>
    </message>
    <message>
        <source>Not logged in: no relogin after the IP change</source>
        <translation>未登录：修改IP后不重新登录</translation>
    </message>
    <message>
        <source>Turn On Full Netcom Successfull</source>
        <translation>开启全网通成功</translation>
    </message>
    <message>
        <source>Turn Off Full Netcom Successfull</source>
        <translation>关闭全网通成功</translation>
    </message>
    <message>
        <source>Modify Full Netcom Failed</source>
        <translation>修改全网通失败</translation>
    </message>
    <message>
        <source>MODIFY Full Netcom Timeout</source>
        <translation>修改全网通超时</translation>
    </message>
    <message>
        <source>open DHCP Successfull</source>
        <translation>开启DHCP成功</translation>
    </message>
    <message>
        <source>close DHCP Successfull</source>
        <translation>关闭DHCP成功</translation>
    </message>
    <message>
        <source>open DHCP Failed</source>
        <translation>开启DHCP失败</translation>
    </message>
    <message>
        <source>close DHCP Failed</source>
        <translation>关闭DHCP失败</translation>
    </message>
    <message>
        <source>Get Audio State Timeout</source>
        <translation>获取音频状态超时</translation>
    </message>
    <message>
        <source>Get GPIO State Timeout</source>
        <translation>获取GPIO状态超时</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>禁用</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>SetIPDialog</name>
    <message>
        <source>Set IP Start Address</source>
        <translation>设置起始IP地址</translation>
    </message>
    <message>
        <source>Modify IP Start Address</source>
        <translation>修改起始IP地址</translation>
    </message>
    <message>
        <source>IP:</source>
        <translation>IP：</translation>
    </message>
    <message>
        <source>Subnet Mask:</source>
        <translation>子网掩码：</translation>
    </message>
    <message>
        <source>Gateway:</source>
        <translation>网关：</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Invalid IP address!</source>
        <translation>IP地址无效！</translation>
    </message>
    <message>
        <source>Specify the first value of the ip address as a value between 1 and 233!</source>
        <translation>IP地址的第一段须为1到233之间的值！</translation>
    </message>
    <message>
        <source>Invalid Netmask address!</source>
        <translation>子网掩码无效！</translation>
    </message>
    <message>
        <source>Invalid Gateway address!</source>
        <translation>网关地址无效！</translation>
    </message>
    <message>
        <source>IP address and gate way are not in the same network segment!Are you sure modify?</source>
        <translation>IP地址与网关不在同一网段！确定要修改吗？</translation>
    </message>
    <message>
        <source>Saved successfully</source>
        <translation>保存成功</translation>
    </message>
</context>
<context>
    <name>SetOsdDialog</name>
    <message>
        <source>Set OSD</source>
        <translation>设置OSD</translation>
    </message>
    <message>
        <source>Show Time:</source>
        <translation>显示时间：</translation>
    </message>
    <message>
        <source>Show Text:</source>
        <translation>显示文本：</translation>
    </message>
    <message>
        <source>Data Type:</source>
        <translation>日期格式：</translation>
    </message>
    <message>
        <source>OSD Position:</source>
        <translation>OSD位置：</translation>
    </message>
    <message>
        <source>OSD Text:</source>
        <translation>OSD文本：</translation>
    </message>
    <message>
        <source>Top Left</source>
        <translation>左上</translation>
    </message>
    <message>
        <source>Bottom Left</source>
        <translation>左下</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Saved successfully</source>
        <translation>保存成功</translation>
    </message>
</context>
<context>
    <name>ShowResultDialog</name>
    <message>
        <source>Busy</source>
        <translation>设备忙</translation>
    </message>
    <message>
        <source>Modify device:</source>
        <translation>修改设备数：</translation>
    </message>
    <message>
        <source>Modify failed:</source>
        <translation>失败数：</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>Receive Timeout</source>
        <translation>接收超时</translation>
    </message>
    <message>
        <source>SD card unavailable</source>
        <translation>SD卡不可用</translation>
    </message>
    <message>
        <source>SD total capacity : </source>
        <translation>SD卡总容量：</translation>
    </message>
    <message>
        <source>SD surplus capacity : </source>
        <translation>SD卡剩余容量：</translation>
    </message>
</context>
<context>
    <name>ShowResultDlgEx</name>
    <message>
        <source>Modify device:</source>
        <translation>修改设备数：</translation>
    </message>
    <message>
        <source>Modify failed:</source>
        <translation>失败数：</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>接口</translation>
    </message>
    <message>
        <source>Features</source>
        <translation>功能</translation>
    </message>
    <message>
        <source>Test Result</source>
        <translation>测试结果</translation>
    </message>
</context>
<context>
    <name>SysConfigDialog</name>
    <message>
        <source>SysConfig</source>
        <translation>系统配置</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>语言：</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英文</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>(Effect after restart)</source>
        <translation>（重启后生效）</translation>
    </message>
    <message>
        <source>Search Time:</source>
        <translation>搜索时间：</translation>
    </message>
    <message>
        <source>(5-10 seconds)</source>
        <translation>（5-10秒）</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Saved successfully</source>
        <translation>保存成功</translation>
    </message>
</context>
<context>
    <name>TimeSetWidget</name>
    <message>
        <source>GMT-12 Eniwetok, Kwajalein</source>
        <translation>GMT-12 埃尼威托克，夸贾林</translation>
    </message>
    <message>
        <source>GMT-11.5</source>
        <translation>GMT-11.5</translation>
    </message>
    <message>
        <source>GMT-11 Midway Island, Samoa</source>
        <translation>GMT-11 中途岛，萨摩亚</translation>
    </message>
    <message>
        <source>GMT-10.5</source>
        <translation>GMT-10.5</translation>
    </message>
    <message>
        <source>GMT-10 Hawaii</source>
        <translation>GMT-10 夏威夷</translation>
    </message>
    <message>
        <source>GMT-9.5</source>
        <translation>GMT-9.5</translation>
    </message>
    <message>
        <source>GMT-09 Alaska</source>
        <translation>GMT-09 阿拉斯加</translation>
    </message>
    <message>
        <source>GMT-8.5</source>
        <translation>GMT-8.5</translation>
    </message>
    <message>
        <source>GMT-08 Pacific Time (US &amp; Canada), Tijuana</source>
        <translation>GMT-08 太平洋时间（美国和加拿大），蒂华纳</translation>
    </message>
    <message>
        <source>GMT-7.5</source>
        <translation>GMT-7.5</translation>
    </message>
    <message>
        <source>GMT-07 Mountain Time (US &amp; Canada), Arizona</source>
        <translation>GMT-07 山地时间（美国和加拿大），亚利桑那</translation>
    </message>
    <message>
        <source>GMT-6.5</source>
        <translation>GMT-6.5</translation>
    </message>
    <message>
        <source>GMT-06 Central Time (US &amp; Canada), Mexico City, Tegucigalpa, Saskatchewan</source>
        <translation>GMT-06 中部时间（美国和加拿大），墨西哥城，特古西加尔巴，萨斯喀彻温</translation>
    </message>
    <message>
        <source>GMT-5.5</source>
        <translation>GMT-5.5</translation>
    </message>
    <message>
        <source>GMT-05 Eastern Time (US &amp; Canada), Indiana(East), Bogota, Lima</source>
        <translation>GMT-05 东部时间（美国和加拿大），印第安纳（东部），波哥大，利马</translation>
    </message>
    <message>
        <source>GMT-4.5</source>
        <translation>GMT-4.5</translation>
    </message>
    <message>
        <source>GMT-04 Atlantic Time (Canada), Caracas, La Paz</source>
        <translation>GMT-04 大西洋时间（加拿大），加拉加斯，拉巴斯</translation>
    </message>
    <message>
        <source>GMT-3.5</source>
        <translation>GMT-3.5</translation>
    </message>
    <message>
        <source>GMT-03 Brasilia, Buenos Aires, Georgetown</source>
        <translation>GMT-03 巴西利亚，布宜诺斯艾利斯，乔治敦</translation>
    </message>
    <message>
        <source>GMT-2.5</source>
        <translation>GMT-2.5</translation>
    </message>
    <message>
        <source>GMT-02 Mid-Atlantic</source>
        <translation>GMT-02 中大西洋</translation>
    </message>
    <message>
        <source>GMT-1.5</source>
        <translation>GMT-1.5</translation>
    </message>
    <message>
        <source>GMT-01 Azores, Cape Verdes Is.</source>
        <translation>GMT-01 亚速尔群岛，佛得角群岛</translation>
    </message>
    <message>
        <source>GMT-0.5</source>
        <translation>GMT-0.5</translation>
    </message>
    <message>
        <source>GMT+00 Dublin, Edinburgh, London, Lisbon, Monrovia, Casablanca</source>
        <translation>GMT+00 都柏林，爱丁堡，伦敦，里斯本，蒙罗维亚，卡萨布兰卡</translation>
    </message>
    <message>
        <source>GMT+0.5</source>
        <translation>GMT+0.5</translation>
    </message>
    <message>
        <source>GMT+01 Berlin, Stockholm, Rome, Bern, Brussels, Vienna, Paris, Madrid, Amsterdam, Prague, Warsaw, Budapest</source>
        <translation>GMT+01 柏林，斯德哥尔摩，罗马，伯尔尼，布鲁塞尔，维也纳，巴黎，马德里，阿姆斯特丹，布拉格，华沙，布达佩斯</translation>
    </message>
    <message>
        <source>GMT+1.5</source>
        <translation>GMT+1.5</translation>
    </message>
    <message>
        <source>GMT+02 Athens, Helsinki, Istanbul, Cairo, Eastern Europe, Harare, Pretoria, Israel</source>
        <translation>GMT+02 雅典，赫尔辛基，伊斯坦布尔，开罗，东欧，哈拉雷，比勒陀利亚，以色列</translation>
    </message>
    <message>
        <source>GMT+2.5</source>
        <translation>GMT+2.5</translation>
    </message>
    <message>
        <source>GMT+03 Baghdad, Kuwait, Nairobi, Riyadh, Moscow, St. Petersburg, Kazan, Volgograd</source>
        <translation>GMT+03 巴格达，科威特，内罗毕，利雅得，莫斯科，圣彼得堡，喀山，伏尔加格勒</translation>
    </message>
    <message>
        <source>GMT+3.5</source>
        <translation>GMT+3.5</translation>
    </message>
    <message>
        <source>GMT+04 Abu Dhabi, Muscat, Tbilisi</source>
        <translation>GMT+04 阿布扎比，马斯喀特，第比利斯</translation>
    </message>
    <message>
        <source>GMT+4.5</source>
        <translation>GMT+4.5</translation>
    </message>
    <message>
        <source>GMT+05 Islamabad, Karachi, Ekaterinburg, Tashkent</source>
        <translation>GMT+05 伊斯兰堡，卡拉奇，叶卡捷琳堡，塔什干</translation>
    </message>
    <message>
        <source>GMT+5.5</source>
        <translation>GMT+5.5</translation>
    </message>
    <message>
        <source>GMT+06 Alma Ata, Dhaka</source>
        <translation>GMT+06 阿拉木图，达卡</translation>
    </message>
    <message>
        <source>GMT+6.5</source>
        <translation>GMT+6.5</translation>
    </message>
    <message>
        <source>GMT+07 Bangkok, Jakarta, Hanoi</source>
        <translation>GMT+07 曼谷，雅加达，河内</translation>
    </message>
    <message>
        <source>GMT+7.5</source>
        <translation>GMT+7.5</translation>
    </message>
    <message>
        <source>GMT+08 Taipei, Beijing, Chongqing, Urumqi, Hong Kong, Perth, Singapore</source>
        <translation>GMT+08 台北，北京，重庆，乌鲁木齐，香港，珀斯，新加坡</translation>
    </message>
    <message>
        <source>GMT+8.5</source>
        <translation>GMT+8.5</translation>
    </message>
    <message>
        <source>GMT+09 Tokyo, Osaka, Sapporo, Seoul, Yakutsk</source>
        <translation>GMT+09 东京，大阪，札幌，首尔，雅库茨克</translation>
    </message>
    <message>
        <source>GMT+9.5</source>
        <translation>GMT+9.5</translation>
    </message>
    <message>
        <source>GMT+10 Brisbane, Melbourne, Sydney, Guam, Port Moresby, Vladivostok, Hobart</source>
        <translation>GMT+10 布里斯班，墨尔本，悉尼，关岛，莫尔兹比港，符拉迪沃斯托克，霍巴特</translation>
    </message>
    <message>
        <source>GMT+10.5</source>
        <translation>GMT+10.5</translation>
    </message>
    <message>
        <source>GMT+11 Magadan, Solomon Is., New Caledonia</source>
        <translation>GMT+11 马加丹，所罗门群岛，新喀里多尼亚</translation>
    </message>
    <message>
        <source>GMT+11.5</source>
        <translation>GMT+11.5</translation>
    </message>
    <message>
        <source>GMT+12 Fiji, Kamchatka, Marshall Is., Wellington, Auckland</source>
        <translation>GMT+12 斐济，堪察加，马绍尔群岛，惠灵顿，奥克兰</translation>
    </message>
    <message>
        <source>Time Zone:</source>
        <translation>时区：</translation>
    </message>
    <message>
        <source>NVR Prohibit Modification IPC Time</source>
        <translation>禁止NVR修改IPC时间</translation>
    </message>
    <message>
        <source>Update Method:</source>
        <translation>校时方式：</translation>
    </message>
    <message>
        <source>NTP Time Calibration </source>
        <translation>NTP校时</translation>
    </message>
    <message>
        <source>Manual Correction </source>
        <translation>手动校时</translation>
    </message>
    <message>
        <source>Synchronize With Computer </source>
        <translation>与电脑同步</translation>
    </message>
    <message>
        <source>SNTP Server:</source>
        <translation>SNTP服务器：</translation>
    </message>
    <message>
        <source>Customize</source>
        <translation>自定义</translation>
    </message>
    <message>
        <source>NTP Auto Time Sync:</source>
        <translation>NTP自动校时：</translation>
    </message>
    <message>
        <source>On</source>
        <translation>开</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>Time Interval:</source>
        <translation>校时间隔：</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>分钟</translation>
    </message>
    <message>
        <source>Set Time:</source>
        <translation>设置时间：</translation>
    </message>
    <message>
        <source>Computer Time:</source>
        <translation>电脑时间：</translation>
    </message>
    <message>
        <source>Enable Summer Time</source>
        <translation>启用夏令时</translation>
    </message>
    <message>
        <source>Jan</source>
        <translation>一月</translation>
    </message>
    <message>
        <source>Feb</source>
        <translation>二月</translation>
    </message>
    <message>
        <source>Mar</source>
        <translation>三月</translation>
    </message>
    <message>
        <source>Apr</source>
        <translation>四月</translation>
    </message>
    <message>
        <source>May</source>
        <translation>五月</translation>
    </message>
    <message>
        <source>Jun</source>
        <translation>六月</translation>
    </message>
    <message>
        <source>Jul</source>
        <translation>七月</translation>
    </message>
    <message>
        <source>Aug</source>
        <translation>八月</translation>
    </message>
    <message>
        <source>Sep</source>
        <translation>九月</translation>
    </message>
    <message>
        <source>Oct</source>
        <translation>十月</translation>
    </message>
    <message>
        <source>Nov</source>
        <translation>十一月</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>十二月</translation>
    </message>
    <message>
        <source>First</source>
        <translation>第一个</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>第二个</translation>
    </message>
    <message>
        <source>Third</source>
        <translation>第三个</translation>
    </message>
    <message>
        <source>Fourth</source>
        <translation>第四个</translation>
    </message>
    <message>
        <source>The End</source>
        <translation>最后一个</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>周日</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>周一</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>周二</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>周三</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>周四</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>周五</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>周六</translation>
    </message>
    <message>
        <source>Summer Time Start:</source>
        <translation>夏令时开始：</translation>
    </message>
    <message>
        <source>Summer Time End:</source>
        <translation>夏令时结束：</translation>
    </message>
    <message>
        <source>Summer Time Offset:</source>
        <translation>夏令时偏移：</translation>
    </message>
    <message>
        <source>30 mins</source>
        <translation>30分钟</translation>
    </message>
    <message>
        <source>60 mins</source>
        <translation>60分钟</translation>
    </message>
    <message>
        <source>90 mins</source>
        <translation>90分钟</translation>
    </message>
    <message>
        <source>120 mins</source>
        <translation>120分钟</translation>
    </message>
    <message>
        <source>The effective value of time interval is from 1 to 10080!</source>
        <translation>校时间隔的有效值为1到10080！</translation>
    </message>
</context>
<context>
    <name>TipDialog</name>
    <message>
        <source>Confirm</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>TitleBar</name>
    <message>
        <source>IPC Corvane</source>
        <translation>IPC Corvane</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>ViewQRcodeDialog</name>
    <message>
        <source>Device QRcode</source>
        <translation>设备二维码</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The program is running!</source>
        <translation>程序已在运行！</translation>
    </message>
    <message>
        <source>The program cannot start: the lock file %1 cannot be used.</source>
        <translation>程序无法启动：无法使用锁文件 %1。</translation>
    </message>
</context>
<context>
    <name>modifyupgradewidget</name>
    <message>
        <source>Modify number:</source>
        <translation>升级设备数：</translation>
    </message>
    <message>
        <source>Failed number:</source>
        <translation>失败数：</translation>
    </message>
    <message>
        <source>Upgrade failed!</source>
        <translation>升级失败！</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Please wait for device upgrade!</source>
        <translation>请等待设备升级完成！</translation>
    </message>
    <message>
        <source>Firmware Upgrade</source>
        <translation>固件升级</translation>
    </message>
</context>
</TS>
