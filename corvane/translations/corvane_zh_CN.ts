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
        <source>Modify Video Param Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Video Param Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Audio Param Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Audio Param Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set OSD Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set OSD Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Image Param Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Image Param Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Privacy Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Privacy Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Motion Detection Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Motion Detection Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Audio Board Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Audio Board Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Tcp/Ip Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Port Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify DDNS Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P2P Modify Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify GB28181 Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Privacy Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Account Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Time Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Timer To Restart Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting TCP/IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting DDNS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting P2P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting GB28181</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting OSD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Privacy Mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Motion Detect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Account Manage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Regular Maintain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting The Audio Board In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select a set first!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Parameter Config Modify...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Port Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Tcp/Ip Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New IP:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify DDNS Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P2P Modify Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify GB28181 Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Account Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Time Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Timer To Restart Success</source>
        <translation type="unfinished"></translation>
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
        <source>All(*.*)</source>
        <translation>所有文件(*.*)</translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPIO Detecting....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Audio State Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get GPIO State Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP</source>
        <translation type="unfinished">IP</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPIO Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please set a valid IP start address first!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modifying IP....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turning on full Netcom...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turning off full Netcom...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify IP Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New IP:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn On Full Netcom Successfull</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <translation type="unfinished">启用</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn Off Full Netcom Successfull</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished">是</translation>
    </message>
    <message>
        <source>Modify Full Netcom Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open DHCP Successfull</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>close DHCP Successfull</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open DHCP Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>close DHCP Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MODIFY Full Netcom Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify IP Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play the main stream, please select less than 4 units!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play the sub stream, please select less than 10 units!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please search for device!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reboot Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SimpleRecovery Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MODIFY Full Recovery Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rebooting....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SimpleRecovery....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FullRecoverying....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SimpleRecovery</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DDNS Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P2P Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OSD Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Privacy Mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motion Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account Manage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regular Maintain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio Lgtboard In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting TCP/IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting DDNS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting P2P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting GB28181</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting OSD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Privacy Mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Motion Detect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Account Manage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting Regular Maintain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting The Audio Board In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Media Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hardware Setting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OtherParamConfigDlg</name>
    <message>
        <source>Save</source>
        <translation type="unfinished">保存</translation>
    </message>
    <message>
        <source>Network Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Media Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Failed! The settings could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Success!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio Input:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio Codec:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>G711A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>G711U</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input Volume:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output Volume:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pwm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Infrared Light Board</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warm Light Board</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Infrared + Warm Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Infrared + White Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hard Photosensitive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio Input Method:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light Board Turn-on Control:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light Board Mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light Board Brightness:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <translation type="unfinished">启用</translation>
    </message>
    <message>
        <source>Plat Access Method:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>28181</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protocol Version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB/T28181-2016</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local SIP Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIP Server ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIP Server Domain:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIP Server Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIP Server Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIP User Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIP User Auth ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Register Valid Period(S):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Registration Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not Online</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heartbeat Cycle(S):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>28181 Stream Index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Main Stream</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sub Stream</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tri Stream</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer Protocol:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TCP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UDP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Register Interval(S):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max Num Of Heart Timeouts:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm Input Code ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Range Is 1024-65535</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter 20 digits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter 10 digits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter 20 digits </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum passwork 1 Characters and a maximum 18 Characters,And can not contain Chinese!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 Password twice inconsistent!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Range Is 3600-100000S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Range Is 5-255S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Range Is 60-600S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Range Is 3-255S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 The localSipPort Range Is 1024-65535!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 ServerId Please enter 20 digits!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 ServerDomain Please enter 10 digits!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 The ServerPort Range Is 1024-65535!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 SIP User Please enter 20 digits!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 SIP UserAuthId Please enter 20 digits!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 The ValidTime Range Is 3600-100000S!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 The heartBeatCycle Range Is 5-255S!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 The Interval Range Is 60-600S!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 The maxHeartCount Range Is 3-255S!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 alarmInCodeId Please enter 20 digits!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB28181 Password can not be blank!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable DHCP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IPv4 Addr:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IPv4 Mask:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IPv4 Gateway:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full Netcom:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting DNS Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DNS Server:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specify the first value of the ip address as a value between 1 and 233!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid IP address!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid Netmask address!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid gateway address!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP address and gate way are not in the same network segment!Are you sure modify?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specify the first value of the DNS address as a value between 1 and 233!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid DNS address!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTTP Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RTSP Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTTPS Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protocol Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ONVIF Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable ONVIF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The effective value of HTTP port is 80 or from 1024 to 65535!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The effective value of RTSP port is 554 or from 1024 to 65535!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The effective value of HTTPS port is 443 or from 1024 to 65535!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The effective value of ONVIF protocol port is from 2000 to 65535!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The port is repeated!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DDNS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DDNS Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NO-IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dyn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Domain:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DDNS User:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DDNS Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Service Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ordinary User</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Service Provider Link:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oray DDNS To Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oray DDNS To Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No-IP DDNS To Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No-IP DDNS To Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DYN DDNS To Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DYN DDNS To Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DDNS Password twice inconsistent!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DDNS Minimum passwork 1 Characters and a maximum 31 Characters,And can not contain Chinese!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Testing...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Not Available!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP test failed: ping did not end!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP test failed: ping could not run!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Available!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YYYY/MM/DD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MM/DD/YYYY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DD/MM/YYYY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bottom Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Format:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OSD Location:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OSD Text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>H</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Area %1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sun</source>
        <translation type="unfinished">周日</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation type="unfinished">周一</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation type="unfinished">周二</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation type="unfinished">周三</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation type="unfinished">周四</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation type="unfinished">周五</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation type="unfinished">周六</translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Admin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Guest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pwd:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm Pwd:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account Password twice inconsistent!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account Minimum passwork 8 Characters and a maximum 31 Characters,It must contain numbers and letters!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restart Regularly:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Never</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>H.264</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>H.265</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VBR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CBR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2304*1296</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1920*1080</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1280*720</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>720*480</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>640*480</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stream Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video Encoding:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame Rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vary(Fix) Bitrate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I Frame Interval:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>H265+:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PelloraDialog</name>
    <message>
        <source>Pellora</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation type="unfinished">中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation type="unfinished">English</translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>POE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mac</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PrintingPreview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DirectPrinting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PtzAndAudioDeviceDialog</name>
    <message>
        <source>PTZ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[-Operation record-]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Voice Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Voice Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Voice Fail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Voice Fail</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SetIPDialog</name>
    <message>
        <source>Set IP Start Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify IP Start Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subnet Mask:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gateway:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished">确定</translation>
    </message>
    <message>
        <source>Invalid IP address!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specify the first value of the ip address as a value between 1 and 233!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid Netmask address!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid Gateway address!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP address and gate way are not in the same network segment!Are you sure modify?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved successfully</source>
        <translation type="unfinished">保存成功</translation>
    </message>
</context>
<context>
    <name>SetOsdDialog</name>
    <message>
        <source>Set OSD</source>
        <translation type="unfinished">设置OSD</translation>
    </message>
    <message>
        <source>Show Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OSD Position:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OSD Text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bottom Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished">确定</translation>
    </message>
    <message>
        <source>Saved successfully</source>
        <translation type="unfinished">保存成功</translation>
    </message>
</context>
<context>
    <name>ShowResultDialog</name>
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
        <translation type="unfinished">修改设备数：</translation>
    </message>
    <message>
        <source>Modify failed:</source>
        <translation type="unfinished">失败数：</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Features</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Result</source>
        <translation type="unfinished"></translation>
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
        <translation>English</translation>
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
        <translation type="unfinished"></translation>
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
</context>
</TS>
